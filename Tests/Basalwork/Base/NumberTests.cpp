#include "Basalwork/Base/BinaryFloatingPoint.hpp"
#include "Basalwork/Base/BinaryInteger.hpp"
#include "Basalwork/Base/Decimal.hpp"
#include "Basalwork/Base/Double.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

using namespace Basalwork;

TEST(IntegerAdditions, ParityHoldsForNegativesAndExtremes)
{
    EXPECT_TRUE(isOdd(3));
    EXPECT_TRUE(isEven(0));
    EXPECT_TRUE(isEven(-2));
    EXPECT_TRUE(isOdd(-3));
    EXPECT_TRUE(isEven(std::numeric_limits<std::int64_t>::min()));
    EXPECT_TRUE(isOdd(std::numeric_limits<std::uint64_t>::max()));
    EXPECT_TRUE(isOdd(std::uint8_t {255}));
}

TEST(IntegerAdditions, CountsBecomeSecondsAsDoubles)
{
    EXPECT_EQ(minutes(5), 300.0);
    EXPECT_EQ(hours(2), 7200.0);
    EXPECT_EQ(hours(4), 14400.0);
    EXPECT_EQ(days(1), 86400.0);
    EXPECT_EQ(weeks(1), 604800.0);
    EXPECT_EQ(minutes(-1), -60.0);
    EXPECT_EQ(seconds(std::uint64_t {1} << 63), 9223372036854775808.0);
    EXPECT_EQ(seconds(std::uint8_t {200}), 200.0);
}

TEST(FloatingPointAdditions, AnglesAndTheMillionth)
{
    EXPECT_DOUBLE_EQ(degreesToRadians(180.0), std::numbers::pi);
    EXPECT_FLOAT_EQ(degreesToRadians(90.0F), std::numbers::pi_v<float> / 2);
    EXPECT_DOUBLE_EQ(radiansToDegrees(std::numbers::pi / 4), 45.0);
    EXPECT_EQ(oneOneMillionth<double>(), 0.000001);
    EXPECT_EQ(oneOneMillionth<float>(), 0.000001F);
}

TEST(FloatingPointAdditions, ComparisonsAreExactAndFalseForNotANumber)
{
    double nan = std::nan("");
    EXPECT_TRUE(isGreaterThanOrEqualTo(1.0, 1.0));
    EXPECT_FALSE(isGreaterThanOrEqualTo(1.0, std::nextafter(1.0, 2.0)));
    EXPECT_TRUE(isLessThanOrEqualTo(1.0, std::nextafter(1.0, 2.0)));
    EXPECT_FALSE(isGreaterThanOrEqualTo(nan, nan));
    EXPECT_FALSE(isLessThanOrEqualTo(nan, 0.0));
    EXPECT_FALSE(isLessThanOrEqualTo(0.0, nan));
}

TEST(DecimalAdditions, DoubleValueIsTheNearestDouble)
{
    EXPECT_EQ(doubleValue(*Foundation::Decimal::fromString("0.1")), 0.1);
    EXPECT_EQ(doubleValue(*Foundation::Decimal::fromString("-2.5e-3")), -0.0025);
    EXPECT_EQ(doubleValue(*Foundation::Decimal::fromString("123456789012345678901234567890")), 1.2345678901234568e29);
    EXPECT_EQ(doubleValue(*Foundation::Decimal::fromString("1e-128")), 1e-128);
    EXPECT_EQ(doubleValue(Foundation::Decimal()), 0.0);
    EXPECT_EQ(doubleValue(Foundation::Decimal(-42)), -42.0);
}
