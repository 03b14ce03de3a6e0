#include "Basalwork/Base/ClosedRange.hpp"
#include "Basalwork/Base/Comparable.hpp"
#include "Basalwork/Base/Optional.hpp"
#include "Basalwork/Base/Range.hpp"
#include "Basalwork/Base/RawRepresentable.hpp"

#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/String.hpp"

#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

using namespace Basalwork;
using Foundation::String;

namespace {
enum class Tab { items, settings };
} // namespace

template <>
struct Foundation::RawRepresentation<Tab> {
    using RawValue = Foundation::String;
    static constexpr std::pair<Tab, const char*> cases[] = {{Tab::items, "items"}, {Tab::settings, "settings"}};
};

TEST(Optional, PresenceForValuesAndObjects)
{
    EXPECT_TRUE(hasValue(std::optional<int>(0)));
    EXPECT_TRUE(isNil(std::shared_ptr<int>()));

    auto half = [](int n) { return n % 2 == 0 ? std::optional(n / 2) : std::nullopt; };
    EXPECT_EQ(compactMap(std::optional<int>(), half), std::nullopt);
    EXPECT_EQ(compactMap(std::optional(4), half), 2);
    EXPECT_EQ(compactMap(std::optional(3), half), std::nullopt);

    EXPECT_TRUE(isNilOrEmpty(std::optional<std::vector<int>>()));
    EXPECT_TRUE(isNilOrEmpty(std::optional(std::vector<int>())));
    EXPECT_FALSE(isNilOrEmpty(std::optional(std::vector {1})));
    EXPECT_FALSE(hasElements(std::optional<String>()));
    EXPECT_FALSE(hasElements(std::optional(String())));
    EXPECT_TRUE(hasElements(std::optional(String("a"))));
}

TEST(Optional, DescriptionWithoutTheOptionalWrapper)
{
    EXPECT_EQ(nonOptionalDescription(std::optional<std::int64_t> {}), "nil");
    EXPECT_EQ(nonOptionalDescription(std::optional<std::int64_t> {42}), "42");
    EXPECT_EQ(nonOptionalDescription(std::optional<String> {"row 3"}), "row 3");
    EXPECT_EQ(nonOptionalDescription(std::optional<Foundation::Date> {Foundation::Date(0)}), "2001-01-01 00:00:00 +0000");
}

TEST(Optional, NumbersAreDescribedAsThePlatformPrintsThem)
{
    auto text = [](auto value) { return nonOptionalDescription(std::optional(value)); };
    EXPECT_EQ(text(1234567.891), "1234567.891");
    EXPECT_EQ(text(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(text(1.0), "1.0");
    EXPECT_EQ(text(-0.0), "-0.0");
    EXPECT_EQ(text(100.0), "100.0");
    EXPECT_EQ(text(0.0001), "0.0001");
    EXPECT_EQ(text(0.00001), "1e-05");
    EXPECT_EQ(text(1e16), "10000000000000000.0");
    EXPECT_EQ(text(2e16), "2e+16");
    EXPECT_EQ(text(-1.5e300), "-1.5e+300");
    EXPECT_EQ(text(0.1f), "0.1");
    EXPECT_EQ(text(16777216.0f), "16777216.0");
    EXPECT_EQ(text(1e8f), "1e+08");
    EXPECT_EQ(text(std::numeric_limits<double>::infinity()), "inf");
    // One-byte integers are numbers, not characters.
    EXPECT_EQ(text(std::int8_t {-5}), "-5");
    EXPECT_EQ(text(std::uint8_t {65}), "65");
    EXPECT_EQ(text(std::numeric_limits<std::uint64_t>::max()), "18446744073709551615");
}

TEST(Optional, RawValueThatMayBeAbsent)
{
    EXPECT_EQ(fromRawValue<Tab>(std::optional<String>()), std::nullopt);
    EXPECT_EQ(fromRawValue<Tab>(std::optional<String>("settings")), Tab::settings);
    EXPECT_EQ(fromRawValue<Tab>(std::optional<String>("Settings")), std::nullopt);
}

TEST(Comparable, LimitedToWhicheverBoundsAreGiven)
{
    EXPECT_EQ(limitedTo(7, 1, 5), 5);
    EXPECT_EQ(limitedTo(-2, 1, 5), 1);
    EXPECT_EQ(limitedTo(3, 1, 5), 3);
    EXPECT_EQ(limitedTo(7, 5, 1), 7);
    EXPECT_EQ(limitedTo(-7, 5, 1), -7);
    EXPECT_EQ(limitedTo(7, std::nullopt, std::nullopt), 7);
    EXPECT_EQ(limitedToLower(-2, 0), 0);
    EXPECT_EQ(limitedToLower(2, 0), 2);
    EXPECT_EQ(limitedToUpper(9.5, 1.0), 1.0);
    EXPECT_EQ(limitedTo<String>("m", String("a"), std::nullopt), "m");
}

TEST(Ranges, BoundsInEitherOrderGiveTheSameRange)
{
    EXPECT_EQ(range(3, 1), range(1, 3));
    EXPECT_EQ(range(3, 1).lowerBound(), 1);
    EXPECT_EQ(range(3, 1).upperBound(), 3);
    EXPECT_EQ(closedRange(2.5, -1.0), closedRange(-1.0, 2.5));
    EXPECT_EQ(closedRange(4, 4).lowerBound(), 4);
    EXPECT_DEATH(Foundation::Range<int>(2, 1), "lowerBound <= upperBound");
}
