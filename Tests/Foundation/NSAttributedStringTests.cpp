#include "Platform/Foundation/NSAttributedString.hpp"

#include <gtest/gtest.h>

using namespace Foundation;

TEST(NSAttributedString, CarriesItsAttributesOverTheWholeText)
{
    NSAttributedString::Attributes attributes {{NSAttributedString::Key::foregroundColor(), std::string("red")}};
    auto text = make<NSAttributedString>(String("a\U0001F600"), attributes);
    EXPECT_EQ(text->string(), "a\U0001F600");
    EXPECT_EQ(text->length(), 3); // UTF-16 units, as the platform indexes attributed text
    ASSERT_EQ(text->attributes(2).count(NSAttributedString::Key("NSColor")), 1u);
    EXPECT_EQ(std::any_cast<std::string>(text->attributes(0).at(NSAttributedString::Key::foregroundColor())), "red");
    EXPECT_TRUE(make<NSAttributedString>(String("x"))->attributes(0).empty());
}

TEST(NSAttributedStringDeathTest, ReadingAttributesPastTheEndStops)
{
    auto text = make<NSAttributedString>(String("ab"));
    EXPECT_DEATH(text->attributes(2), "out of bounds");
    EXPECT_DEATH(make<NSAttributedString>(String())->attributes(0), "out of bounds");
}
