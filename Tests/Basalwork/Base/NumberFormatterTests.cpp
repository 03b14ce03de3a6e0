#include "Basalwork/Base/NumberFormatter.hpp"

#include "Platform/Foundation/Locale.hpp"

#include <gtest/gtest.h>

using namespace Basalwork;

TEST(NumberFormatter, TheGivenLimitsAreSetAndTheOthersKeepTheirDefaults)
{
    Foundation::Locale::setCurrent(Foundation::Locale("en_US"));
    auto defaults = Foundation::make<Foundation::NumberFormatter>();
    auto formatter = NumberFormatters::withMinimumIntegerDigits(3, std::nullopt, 2, std::nullopt);
    EXPECT_EQ(formatter->minimumIntegerDigits(), 3);
    EXPECT_EQ(formatter->maximumIntegerDigits(), defaults->maximumIntegerDigits());
    EXPECT_EQ(formatter->minimumFractionDigits(), 2);
    // Raising the minimum raised the maximum with it.
    EXPECT_EQ(formatter->maximumFractionDigits(), 2);
    EXPECT_EQ(formatter->string(7.5), "007.50");
    EXPECT_EQ(formatter->string(1234.125), "1234.12");

    auto limited = NumberFormatters::withMinimumIntegerDigits(std::nullopt, 2, std::nullopt, 1);
    EXPECT_EQ(limited->string(1234.25), "34.2");
    EXPECT_EQ(defaults->string(2.5), "2");
    Foundation::Locale::setCurrent(std::nullopt);
}
