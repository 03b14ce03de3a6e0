#include "Platform/Foundation/PropertyListValue.hpp"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using Foundation::PropertyListValue;

TEST(PropertyListValueTest, NumbersBridgeOnlyWhenExact)
{
    EXPECT_EQ(PropertyListValue(true).as<std::int64_t>(), 1);
    EXPECT_EQ(PropertyListValue(2.0).as<int>(), 2);
    EXPECT_EQ(PropertyListValue(2.5).as<std::int64_t>(), std::nullopt);
    EXPECT_EQ(PropertyListValue(std::nan("")).as<std::int64_t>(), std::nullopt);
    EXPECT_EQ(PropertyListValue(1e19).as<std::int64_t>(), std::nullopt);
    EXPECT_EQ(PropertyListValue(1).as<bool>(), true);
    EXPECT_EQ(PropertyListValue(2).as<bool>(), std::nullopt);
    EXPECT_EQ(PropertyListValue(300).as<std::uint8_t>(), std::nullopt);
    EXPECT_EQ(PropertyListValue(-1).as<std::uint64_t>(), std::nullopt);
    EXPECT_EQ(PropertyListValue(3).as<double>(), 3.0);
    EXPECT_EQ(PropertyListValue(std::numeric_limits<std::int64_t>::max()).as<double>(), std::nullopt);
    EXPECT_EQ(PropertyListValue("1").as<std::int64_t>(), std::nullopt);
    EXPECT_EQ(PropertyListValue(1).as<Foundation::String>(), std::nullopt);
}

TEST(PropertyListValueTest, LiteralsKeepTheirKindAndEqualityNeedsTheSameKind)
{
    EXPECT_EQ(PropertyListValue("text").kind(), PropertyListValue::Kind::string);
    EXPECT_EQ(PropertyListValue(7u).kind(), PropertyListValue::Kind::integer);
    EXPECT_EQ(PropertyListValue(1.5f).kind(), PropertyListValue::Kind::real);
    EXPECT_FALSE(PropertyListValue(true) == PropertyListValue(1));
    EXPECT_FALSE(PropertyListValue(1) == PropertyListValue(1.0));
}
