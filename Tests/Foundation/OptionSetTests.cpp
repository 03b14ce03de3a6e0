#include "Platform/Foundation/OptionSet.hpp"

#include <gtest/gtest.h>

namespace {

struct Sides : Foundation::OptionSet<Sides, std::uint8_t> {
    static constexpr Sides top() { return {1u << 0}; }
    static constexpr Sides bottom() { return {1u << 1}; }
    static constexpr Sides left() { return {1u << 2}; }
    static constexpr Sides vertical() { return top() | bottom(); }
};

} // namespace

TEST(OptionSetTest, FlagsCombineAndContainOneAnother)
{
    static_assert(Sides::vertical().rawValue == 3);
    constexpr auto sides = Sides::vertical();
    EXPECT_TRUE(sides.contains(Sides::top()));
    EXPECT_TRUE(sides.contains(Sides::vertical()));
    EXPECT_FALSE(sides.contains(Sides::top() | Sides::left()));
    EXPECT_TRUE(sides.intersects(Sides::top() | Sides::left()));
    EXPECT_FALSE(sides.intersects(Sides::left()));
    EXPECT_TRUE(sides.contains(Sides {}));
    EXPECT_EQ(sides & (Sides::bottom() | Sides::left()), Sides::bottom());
    EXPECT_TRUE((sides & Sides::left()).isEmpty());
    EXPECT_EQ(Sides::bottom() | Sides::top(), Sides::vertical());
    EXPECT_NE(Sides::top(), Sides::bottom());
}

TEST(OptionSetTest, InsertAndRemoveChangeOnlyTheirFlags)
{
    Sides sides;
    EXPECT_TRUE(sides.isEmpty());
    sides.insert(Sides::left());
    sides.insert(Sides::top());
    sides.insert(Sides::top());
    EXPECT_EQ(sides, Sides::left() | Sides::top());
    sides.remove(Sides::vertical());
    EXPECT_EQ(sides, Sides::left());
    sides.remove(Sides::left());
    EXPECT_TRUE(sides.isEmpty());
}
