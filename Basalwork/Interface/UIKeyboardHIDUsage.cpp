#include "Basalwork/Interface/UIKeyboardHIDUsage.hpp"

namespace Basalwork {

using UIKit::UIKeyboardHIDUsage;

bool isControlKey(UIKeyboardHIDUsage keyCode)
{
    return keyCode == UIKeyboardHIDUsage::keyboardLeftControl || keyCode == UIKeyboardHIDUsage::keyboardRightControl;
}

bool isShiftKey(UIKeyboardHIDUsage keyCode)
{
    return keyCode == UIKeyboardHIDUsage::keyboardLeftShift || keyCode == UIKeyboardHIDUsage::keyboardRightShift;
}

bool isOptionKey(UIKeyboardHIDUsage keyCode)
{
    return keyCode == UIKeyboardHIDUsage::keyboardLeftAlt || keyCode == UIKeyboardHIDUsage::keyboardRightAlt;
}

bool isCommandKey(UIKeyboardHIDUsage keyCode)
{
    return keyCode == UIKeyboardHIDUsage::keyboardLeftGUI || keyCode == UIKeyboardHIDUsage::keyboardRightGUI;
}

} // namespace Basalwork
