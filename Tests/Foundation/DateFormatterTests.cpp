#include "Platform/Foundation/DateFormatter.hpp"
#include "Platform/Foundation/ISO8601DateFormatter.hpp"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace Foundation;

namespace {

std::shared_ptr<DateFormatter> formatter(const char* pattern, const char* timeZone = "GMT", const char* locale = "en_US_POSIX")
{
    auto formatter = make<DateFormatter>();
    formatter->setDateFormat(pattern);
    formatter->setTimeZone(TimeZone::withIdentifier(timeZone));
    formatter->setLocale(Locale(locale));
    return formatter;
}

} // namespace

TEST(DateFormatter, FormatsAndParsesWithItsPatternInItsTimeZone)
{
    auto gmt = formatter("yyyy-MM-dd HH:mm:ss");
    EXPECT_EQ(gmt->string(Date(0)), "2001-01-01 00:00:00");
    EXPECT_EQ(gmt->string(Date(-1)), "2000-12-31 23:59:59");
    EXPECT_EQ(gmt->date("2026-01-01 00:00:00"), Date(788918400));

    auto berlin = formatter("yyyy-MM-dd HH:mm", "Europe/Berlin");
    EXPECT_EQ(berlin->string(Date(0)), "2001-01-01 01:00");
    EXPECT_EQ(berlin->date("2001-07-01 02:00"), gmt->date("2001-07-01 00:00:00"));
}

TEST(DateFormatter, NamesFollowTheLocale)
{
    EXPECT_EQ(formatter("MMMM", "GMT", "de_DE")->string(Date(0)), "Januar");
    EXPECT_EQ(formatter("EEEE d MMMM", "GMT", "en_US")->string(Date(0)), "Monday 1 January");
}

TEST(DateFormatter, ParsingIsStrict)
{
    auto day = formatter("yyyy-MM-dd");
    EXPECT_EQ(day->date("2001-01-01"), Date(0));
    EXPECT_EQ(day->date("2001-01-01 "), std::nullopt);
    EXPECT_EQ(day->date("2001-02-30"), std::nullopt);
    EXPECT_EQ(day->date("01/01/2001"), std::nullopt);
    EXPECT_EQ(day->date(""), std::nullopt);
    EXPECT_EQ(make<DateFormatter>()->date("2001"), std::nullopt);
    EXPECT_EQ(make<DateFormatter>()->string(Date(0)), "");
}

TEST(DateFormatter, UnsetZoneAndLocaleFollowTheCurrentOnes)
{
    EXPECT_EQ(TimeZone::withIdentifier("Not/AZone"), std::nullopt);
    auto unset = make<DateFormatter>();
    unset->setDateFormat("HH");
    TimeZone::setCurrent(TimeZone::withIdentifier("Asia/Tokyo"));
    EXPECT_EQ(unset->timeZone().identifier(), "Asia/Tokyo");
    EXPECT_EQ(unset->string(Date(0)), "09");
    TimeZone::setCurrent(TimeZone::gmt());
    EXPECT_EQ(unset->string(Date(0)), "00");
    TimeZone::setCurrent(std::nullopt);

    Locale::setCurrent(Locale("fr_FR"));
    unset->setDateFormat("MMMM");
    unset->setTimeZone(TimeZone::gmt());
    EXPECT_EQ(unset->string(Date(0)), "janvier");
    Locale::setCurrent(std::nullopt);
}

TEST(DateFormatter, OneFormatterServesSeveralThreads)
{
    auto shared = formatter("yyyy-MM-dd'T'HH:mm:ss");
    std::vector<std::thread> threads;
    std::vector<int> mismatches(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 200; ++i) {
                Date date(86400.0 * (t * 1000 + i));
                if (shared->date(shared->string(date)) != date)
                    ++mismatches[static_cast<std::size_t>(t)];
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

TEST(ISO8601DateFormatter, WritesInternetDateTimeInWholeSeconds)
{
    auto iso = make<ISO8601DateFormatter>();
    EXPECT_EQ(iso->string(Date(0)), "2001-01-01T00:00:00Z");
    EXPECT_EQ(iso->string(Date(0.9)), "2001-01-01T00:00:00Z");
    EXPECT_EQ(iso->string(Date::fromTimeIntervalSince1970(-86400)), "1969-12-31T00:00:00Z");
    iso->setTimeZone(TimeZone::withIdentifier("America/New_York"));
    EXPECT_EQ(iso->string(Date(0)), "2000-12-31T19:00:00-05:00");
}

TEST(ISO8601DateFormatter, ReadsZuluAndOffsetsOnly)
{
    auto iso = make<ISO8601DateFormatter>();
    EXPECT_EQ(iso->date("2001-01-01T00:00:00Z"), Date(0));
    EXPECT_EQ(iso->date("2001-01-01T01:30:00+01:30"), Date(0));
    EXPECT_EQ(iso->date("2001-01-01 00:00:00Z"), std::nullopt);
    EXPECT_EQ(iso->date("2001-01-01T00:00:00"), std::nullopt);
    EXPECT_EQ(iso->date("2001-13-01T00:00:00Z"), std::nullopt);
}

TEST(DateFormatter, StylesNameTheLocalesOwnPattern)
{
    auto styled = make<DateFormatter>();
    styled->setTimeZone(TimeZone::withIdentifier("GMT"));
    styled->setLocale(Locale("en_US"));
    EXPECT_EQ(styled->string(Date(0)), ""); // no styles, no pattern: nothing to show

    styled->setDateStyle(DateFormatter::Style::medium);
    EXPECT_EQ(styled->dateFormat(), "MMM d, y");
    EXPECT_EQ(styled->string(Date(0)), "Jan 1, 2001");
    styled->setTimeStyle(DateFormatter::Style::short_);
    EXPECT_EQ(styled->string(Date(0)), "Jan 1, 2001, 12:00\u202FAM");
    styled->setLocale(Locale("de_DE"));
    EXPECT_EQ(styled->string(Date(0)), "01.01.2001, 00:00");
    EXPECT_EQ(styled->date("01.01.2001, 00:00"), Date(0));

    // Whichever was set last wins.
    styled->setDateFormat("yyyy");
    EXPECT_EQ(styled->string(Date(0)), "2001");
    EXPECT_EQ(styled->dateStyle(), DateFormatter::Style::medium);
    styled->setTimeStyle(DateFormatter::Style::none);
    EXPECT_EQ(styled->string(Date(0)), "01.01.2001");
}

TEST(DateFormatter, RelativeFormattingNamesTheDaysAroundTodayOnTheProgramsClock)
{
    // The tests' clock stands at 2026-01-01 00:00:00 UTC, far from the machine's own date.
    const Date today = Date::now();
    auto relative = make<DateFormatter>();
    relative->setTimeZone(TimeZone::withIdentifier("GMT"));
    relative->setLocale(Locale("en_US"));
    relative->setDateStyle(DateFormatter::Style::medium);
    relative->setTimeStyle(DateFormatter::Style::short_);
    relative->setDoesRelativeDateFormatting(true);
    EXPECT_EQ(relative->string(today + 10 * 3600), "Today, 10:00\u202FAM");
    EXPECT_EQ(relative->string(today - 3600), "Yesterday, 11:00\u202FPM");
    EXPECT_EQ(relative->string(today + 36 * 3600), "Tomorrow, 12:00\u202FPM");
    EXPECT_EQ(relative->string(today - 36 * 3600), "Dec 30, 2025, 12:00\u202FPM");
    // The day is the formatter's: in Tokyo the first hours of the year in UTC are already its morning.
    relative->setTimeZone(TimeZone::withIdentifier("Asia/Tokyo"));
    EXPECT_EQ(relative->string(today - 3600), "Today, 8:00\u202FAM");
}
