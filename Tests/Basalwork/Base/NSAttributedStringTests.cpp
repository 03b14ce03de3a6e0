#include "Basalwork/Base/NSAttributedString.hpp"

#include <gtest/gtest.h>

#include <any>

using namespace Basalwork;

TEST(NSAttributedStringAdditions, NothingWithoutAText)
{
    using Key = Foundation::NSAttributedString::Key;
    EXPECT_EQ(NSAttributedStrings::withString(std::nullopt, Foundation::NSAttributedString::Attributes {}), nullptr);

    auto plain = NSAttributedStrings::withString(Foundation::String("Search"), std::nullopt);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->string(), "Search");
    EXPECT_TRUE(plain->attributes(0).empty());

    Foundation::NSAttributedString::Attributes attributes {{Key::foregroundColor(), std::any(7)}};
    auto styled = NSAttributedStrings::withString(Foundation::String("Search"), attributes);
    ASSERT_NE(styled, nullptr);
    EXPECT_EQ(std::any_cast<int>(styled->attributes(5).at(Key::foregroundColor())), 7);
}
