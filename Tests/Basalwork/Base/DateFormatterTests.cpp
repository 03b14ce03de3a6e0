#include "Basalwork/Base/DateFormatter.hpp"
#include "Basalwork/Base/ISO8601DateFormatter.hpp"
#include "Basalwork/Base/TimeZone.hpp"

#include "Platform/Foundation/Locale.hpp"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace Basalwork;
using Foundation::Date;
using Style = Foundation::DateFormatter::Style;

TEST(DateFormatterAdditions, StylesOrAPatternInAGivenZone)
{
    Foundation::Locale::setCurrent(Foundation::Locale("en_US"));
    auto styled = DateFormatters::withDateStyle(Style::medium, Style::short_, TimeZones::winnipeg());
    EXPECT_EQ(styled->dateStyle(), Style::medium);
    EXPECT_EQ(styled->timeStyle(), Style::short_);
    EXPECT_EQ(styled->string(Date(0)), "Dec 31, 2000, 6:00\u202FPM");

    auto fixed = DateFormatters::withDateFormat("yyyy-MM-dd HH:mm", TimeZones::winnipeg());
    EXPECT_EQ(fixed->dateFormat(), "yyyy-MM-dd HH:mm");
    EXPECT_EQ(fixed->string(Date(0)), "2000-12-31 18:00");
    EXPECT_EQ(fixed->date("2000-12-31 18:00"), Date(0));
    Foundation::Locale::setCurrent(std::nullopt);
}

TEST(ISO8601DateFormatterAdditions, OneSharedFormatterForEveryThread)
{
    const auto& shared = ISO8601DateFormatters::shared();
    EXPECT_EQ(shared, ISO8601DateFormatters::shared());
    EXPECT_EQ(shared->string(Date(0)), "2001-01-01T00:00:00Z");

    std::vector<const Foundation::ISO8601DateFormatter*> seen(4);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&seen, i] { seen[i] = ISO8601DateFormatters::shared().get(); });
    for (auto& thread : threads)
        thread.join();
    for (auto* formatter : seen)
        EXPECT_EQ(formatter, shared.get());
}
