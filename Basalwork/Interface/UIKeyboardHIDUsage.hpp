#pragma once

#include "Platform/UIKit/UIKeyboardHIDUsage.hpp"

namespace Basalwork {

// Each modifier key, left-hand or right-hand.
bool isControlKey(UIKit::UIKeyboardHIDUsage keyCode);
bool isShiftKey(UIKit::UIKeyboardHIDUsage keyCode);
bool isOptionKey(UIKit::UIKeyboardHIDUsage keyCode);
bool isCommandKey(UIKit::UIKeyboardHIDUsage keyCode);

} // namespace Basalwork
