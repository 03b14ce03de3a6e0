#pragma once

#include "Basalwork/Interface/UIKey.hpp"

#include "Platform/Foundation/Character.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"
#include "Platform/UIKit/UIPress.hpp"

#include <memory>
#include <optional>
#include <ranges>

namespace Basalwork {

// The modifier-key tests on the press's key; false for a press without a key.
inline bool isControlKey(const UIKit::UIPress& press) { return isControlKey(press.key()); }
inline bool isShiftKey(const UIKit::UIPress& press) { return isShiftKey(press.key()); }
inline bool isOptionKey(const UIKit::UIPress& press) { return isOptionKey(press.key()); }
inline bool isCommandKey(const UIKit::UIPress& press) { return isCommandKey(press.key()); }

// The first character the key types; nothing without a key or when it types nothing.
std::optional<Foundation::Character> firstCharacter(const UIKit::UIPress& press);
// The key types exactly one character, a letter or a number.
bool isSingleLetterOrNumberKey(const UIKit::UIPress& press);

// A collection of presses, as an event hands them to a responder.
template <class R>
concept UIPressCollection = std::ranges::forward_range<R>
    && std::convertible_to<std::ranges::range_reference_t<R>, const std::shared_ptr<UIKit::UIPress>&>;

template <UIPressCollection R>
std::optional<Foundation::Character> firstCharacter(R&& presses)
{
    auto first = std::ranges::begin(presses);
    if (first == std::ranges::end(presses))
        return std::nullopt;
    const std::shared_ptr<UIKit::UIPress>& press = *first;
    return press ? firstCharacter(*press) : std::nullopt;
}

template <UIPressCollection R>
bool isSingleLetterOrNumberKeyPress(R&& presses)
{
    auto begin = std::ranges::begin(presses);
    auto end = std::ranges::end(presses);
    if (begin == end)
        return false;
    const std::shared_ptr<UIKit::UIPress>& press = *begin;
    return ++begin == end && press && isSingleLetterOrNumberKey(*press);
}

// contains(modifierFlags:): some press has a key holding every one of the flags.
template <UIPressCollection R>
bool containsModifierFlags(R&& presses, UIKit::UIKeyModifierFlags modifierFlags)
{
    for (const std::shared_ptr<UIKit::UIPress>& press : presses)
        if (press && press->key() && press->key()->modifierFlags().contains(modifierFlags))
            return true;
    return false;
}

template <UIPressCollection R>
bool doesNotContainModifierFlags(R&& presses, UIKit::UIKeyModifierFlags modifierFlags)
{
    return !containsModifierFlags(presses, modifierFlags);
}

template <UIPressCollection R>
bool containsOptionKey(R&& presses)
{
    for (const std::shared_ptr<UIKit::UIPress>& press : presses)
        if (press && isOptionKey(*press))
            return true;
    return false;
}

// The option key is pressed and no press carries the command, control or shift flag.
template <UIPressCollection R>
bool containsOptionKeyWithNoOtherModifiers(R&& presses)
{
    return containsOptionKey(presses) && doesNotContainModifierFlags(presses, UIKit::UIKeyModifierFlags::command())
        && doesNotContainModifierFlags(presses, UIKit::UIKeyModifierFlags::control())
        && doesNotContainModifierFlags(presses, UIKit::UIKeyModifierFlags::shift());
}

} // namespace Basalwork
