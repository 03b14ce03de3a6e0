#include "Platform/UIKit/UIKeyInput.hpp"

#include "Platform/UIKit/UIKey.hpp"
#include "Platform/UIKit/UIPress.hpp"

#include <algorithm>

namespace UIKit {
namespace {

bool isPrintable(const Foundation::String& text)
{
    return !text.isEmpty() && std::none_of(text.view().begin(), text.view().end(), [](char byte) {
        auto code = static_cast<unsigned char>(byte);
        return code < 0x20 || code == 0x7f;
    });
}

} // namespace

bool UIKeyInput::typePresses(const std::vector<std::shared_ptr<UIPress>>& presses, bool multiline)
{
    bool typed = false;
    for (const auto& press : presses) {
        const auto& key = press->key();
        if (!key || key->modifierFlags().contains(UIKeyModifierFlags::command())
            || key->modifierFlags().contains(UIKeyModifierFlags::control()))
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
