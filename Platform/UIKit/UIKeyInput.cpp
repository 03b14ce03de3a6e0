#include "Platform/UIKit/UIKeyInput.hpp"

#include "Platform/UIKit/UIKey.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIPress.hpp"

#include <algorithm>

namespace UIKit {
namespace {

// Keys that type nothing report their name ("UIKeyInputUpArrow") as their characters.
bool isPrintable(const Foundation::String& text)
{
    return !text.isEmpty() && !text.view().starts_with("UIKeyInput") && std::none_of(text.view().begin(), text.view().end(), [](char byte) {
        auto code = static_cast<unsigned char>(byte);
        return code < 0x20 || code == 0x7f;
    });
}

bool isShortcut(const UIKey& key)
{
    return key.modifierFlags().contains(UIKeyModifierFlags::command())
        || key.modifierFlags().contains(UIKeyModifierFlags::control());
}

} // namespace

bool UIKeyInput::usesKey(const UIKey& key)
{
    if (isShortcut(key))
        return false;
    const auto& characters = key.charactersIgnoringModifiers();
    return isPrintable(key.characters()) || characters == "\b" || characters == "\r" || characters == "\t"
        || key.keyCode() == UIKeyboardHIDUsage::keyboardDeleteOrBackspace
        || key.keyCode() == UIKeyboardHIDUsage::keyboardReturnOrEnter || characters == UIKeyCommand::inputUpArrow()
        || characters == UIKeyCommand::inputDownArrow() || characters == UIKeyCommand::inputLeftArrow()
        || characters == UIKeyCommand::inputRightArrow();
}

bool UIKeyInput::typePresses(const std::vector<std::shared_ptr<UIPress>>& presses, bool multiline)
{
    bool typed = false;
    for (const auto& press : presses) {
        const auto& key = press->key();
        if (!key || isShortcut(*key))
            continue;
        if (key->keyCode() == UIKeyboardHIDUsage::keyboardDeleteOrBackspace) {
            deleteBackward();
            typed = true;
        } else if (key->keyCode() == UIKeyboardHIDUsage::keyboardReturnOrEnter) {
            if (multiline) {
                insertText("\n");
                typed = true;
            }
        } else if (isPrintable(key->characters())) {
            insertText(key->characters());
            typed = true;
        }
    }
    return typed;
}

} // namespace UIKit
