#include "Platform/Foundation/Decimal.hpp"

#include <gtest/gtest.h>

#include <string>

using namespace Foundation;

TEST(Decimal, ReadsPlainAndScientificText)
{
    EXPECT_EQ(Decimal::fromString("12.50")->description(), "12.5");
    EXPECT_EQ(Decimal::fromString("-0.001")->description(), "-0.001");
    EXPECT_EQ(Decimal::fromString("+7")->description(), "7");
    EXPECT_EQ(Decimal::fromString("1.5e3")->description(), "1500");
    EXPECT_EQ(Decimal::fromString("25E-4")->description(), "0.0025");
    EXPECT_EQ(Decimal::fromString(".5")->description(), "0.5");
    EXPECT_EQ(Decimal::fromString("-0")->description(), "0");

    for (const char* text : {"", "-", ".", "e5", "1e", "1e+", "1.2.3", " 1", "1 ", "1,5", "abc", "0x10", "inf"})
        EXPECT_EQ(Decimal::fromString(text), std::nullopt) << text;
}

TEST(Decimal, EqualValuesCompareEqualHoweverSpelled)
{
    EXPECT_EQ(*Decimal::fromString("1.000"), Decimal(1));
    EXPECT_EQ(*Decimal::fromString("500"), Decimal(false, 2, 5));
    EXPECT_EQ(Decimal(false, 0, 1000), Decimal(false, 3, 1));
    EXPECT_EQ(*Decimal::fromString("-0.0"), Decimal());
    EXPECT_NE(Decimal(-5), Decimal(5));
    EXPECT_EQ(Decimal(std::numeric_limits<std::int64_t>::min()).description(), "-9223372036854775808");
}

TEST(Decimal, RefusesValuesBeyondItsDigitsAndExponents)
{
    std::string digits38(38, '9');
    EXPECT_EQ(Decimal::fromString(digits38)->description(), digits38);
    EXPECT_EQ(Decimal::fromString(digits38 + "9"), std::nullopt);
    // Trailing zeros cost no digits.
    EXPECT_EQ(Decimal::fromString(digits38 + "000")->significandDigits(), digits38);
    // An exponent past the top is brought back by writing zeros out.
    EXPECT_EQ(Decimal::fromString("1e129")->exponent(), 127);
    EXPECT_EQ(*Decimal::fromString("1e129"), *Decimal::fromString("100e127"));
    EXPECT_EQ(Decimal::fromString("1e170"), std::nullopt);
    EXPECT_EQ(Decimal::fromString("1e-129"), std::nullopt);
    EXPECT_EQ(Decimal::fromString("1e99999999999"), std::nullopt);
    EXPECT_EQ(Decimal::fromString("0e99999"), Decimal());
}
