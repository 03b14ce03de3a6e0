#pragma once

#include <cstdint>

namespace UIKit {

// A key's USB HID usage code. Any code can be held; only the keys our code names have a case.
enum class UIKeyboardHIDUsage : std::int64_t {
    keyboardReturnOrEnter = 40,
    keyboardDeleteOrBackspace = 42,
    keyboardLeftControl = 224,
    keyboardLeftShift = 225,
    keyboardLeftAlt = 226,
    keyboardLeftGUI = 227,
    keyboardRightControl = 228,
    keyboardRightShift = 229,
    keyboardRightAlt = 230,
    keyboardRightGUI = 231,
};

} // namespace UIKit
