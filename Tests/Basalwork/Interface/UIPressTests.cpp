#include "Basalwork/Interface/UIPress.hpp"

#include <gtest/gtest.h>
#include <vector>

using namespace Basalwork;
using Foundation::make;
using UIKit::UIKey;
using UIKit::UIKeyboardHIDUsage;
using UIKit::UIKeyModifierFlags;
using UIKit::UIPress;

namespace {

std::shared_ptr<UIPress> press(Foundation::String characters, UIKeyModifierFlags flags = {},
                               UIKeyboardHIDUsage code = static_cast<UIKeyboardHIDUsage>(4))
{
    return make<UIPress>(UIPress::Phase::began, make<UIKey>(characters, characters, flags, code));
}

std::shared_ptr<UIPress> keyless()
{
    return make<UIPress>(UIPress::Phase::began, nullptr);
}

using Presses = std::vector<std::shared_ptr<UIPress>>;

} // namespace

TEST(UIKeyboardHIDUsage, ModifierKeysMatchOnEitherSide)
{
    EXPECT_TRUE(isControlKey(UIKeyboardHIDUsage::keyboardRightControl));
    EXPECT_TRUE(isShiftKey(UIKeyboardHIDUsage::keyboardLeftShift));
    EXPECT_TRUE(isOptionKey(UIKeyboardHIDUsage::keyboardRightAlt));
    EXPECT_TRUE(isCommandKey(UIKeyboardHIDUsage::keyboardLeftGUI));
    EXPECT_FALSE(isCommandKey(UIKeyboardHIDUsage::keyboardRightAlt));
    EXPECT_FALSE(isOptionKey(std::shared_ptr<UIKey>()));
    EXPECT_FALSE(isOptionKey(*keyless()));
}

TEST(UIPress, SingleLetterOrNumberKeysAreOneLetterOrDigit)
{
    EXPECT_TRUE(isSingleLetterOrNumberKey(*press("a")));
    EXPECT_TRUE(isSingleLetterOrNumberKey(*press("7")));
    EXPECT_TRUE(isSingleLetterOrNumberKey(*press("e\u0301"))); // one character of two scalars
    EXPECT_FALSE(isSingleLetterOrNumberKey(*press("ab")));
    EXPECT_FALSE(isSingleLetterOrNumberKey(*press(".")));
    EXPECT_FALSE(isSingleLetterOrNumberKey(*press("")));
    EXPECT_FALSE(isSingleLetterOrNumberKey(*keyless()));

    EXPECT_EQ(firstCharacter(*press("xy")), Foundation::Character("x"));
    EXPECT_EQ(firstCharacter(*press("")), std::nullopt);
    EXPECT_EQ(firstCharacter(Presses {keyless(), press("z")}), std::nullopt);
    EXPECT_EQ(firstCharacter(Presses {}), std::nullopt);

    EXPECT_TRUE(isSingleLetterOrNumberKeyPress(Presses {press("q")}));
    EXPECT_FALSE(isSingleLetterOrNumberKeyPress(Presses {press("q"), press("w")}));
    EXPECT_FALSE(isSingleLetterOrNumberKeyPress(Presses {}));
}

TEST(UIPress, OptionAloneIsToldApartFromOptionWithOtherModifiers)
{
    auto rightOption = press("", UIKeyModifierFlags::alternate(), UIKeyboardHIDUsage::keyboardRightAlt);
    auto leftOption = press("", UIKeyModifierFlags::alternate(), UIKeyboardHIDUsage::keyboardLeftAlt);
    auto shiftHeld = press("", UIKeyModifierFlags::alternate() | UIKeyModifierFlags::shift(),
                           UIKeyboardHIDUsage::keyboardLeftAlt);
    auto commandKey = press("", UIKeyModifierFlags::command(), UIKeyboardHIDUsage::keyboardLeftGUI);

    EXPECT_TRUE(containsOptionKeyWithNoOtherModifiers(Presses {rightOption}));
    EXPECT_FALSE(containsOptionKeyWithNoOtherModifiers(Presses {shiftHeld}));
    EXPECT_FALSE(containsOptionKeyWithNoOtherModifiers(Presses {leftOption, commandKey}));
    EXPECT_FALSE(containsOptionKeyWithNoOtherModifiers(Presses {press("a")}));

    auto shiftOption = UIKeyModifierFlags::shift() | UIKeyModifierFlags::alternate();
    EXPECT_TRUE(containsModifierFlags(Presses {keyless(), shiftHeld}, shiftOption));
    EXPECT_FALSE(containsModifierFlags(Presses {leftOption, commandKey}, UIKeyModifierFlags::shift()));
    EXPECT_TRUE(doesNotContainModifierFlags(Presses {}, UIKeyModifierFlags::command()));
}
