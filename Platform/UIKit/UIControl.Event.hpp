#pragma once

#include "Platform/Foundation/OptionSet.hpp"
#include "Platform/UIKit/UIControl.hpp"

#include <cstdint>

namespace UIKit {

// What the user did to a control, as a set of flags.
struct UIControl::Event : Foundation::OptionSet<UIControl::Event> {
    static constexpr Event touchDown() { return {1u << 0}; }
    static constexpr Event touchDownRepeat() { return {1u << 1}; }
    static constexpr Event touchDragInside() { return {1u << 2}; }
    static constexpr Event touchDragOutside() { return {1u << 3}; }
    static constexpr Event touchDragEnter() { return {1u << 4}; }
    static constexpr Event touchDragExit() { return {1u << 5}; }
    static constexpr Event touchUpInside() { return {1u << 6}; }
    static constexpr Event touchUpOutside() { return {1u << 7}; }
    static constexpr Event touchCancel() { return {1u << 8}; }
    static constexpr Event valueChanged() { return {1u << 12}; }
    static constexpr Event primaryActionTriggered() { return {1u << 13}; }
    static constexpr Event menuActionTriggered() { return {1u << 14}; }
    static constexpr Event editingDidBegin() { return {1u << 16}; }
    static constexpr Event editingChanged() { return {1u << 17}; }
    static constexpr Event editingDidEnd() { return {1u << 18}; }
    static constexpr Event editingDidEndOnExit() { return {1u << 19}; }
    static constexpr Event allTouchEvents() { return {0x0000'0FFFu}; }
    static constexpr Event allEditingEvents() { return {0x000F'0000u}; }
    static constexpr Event applicationReserved() { return {0x0F00'0000u}; }
    static constexpr Event systemReserved() { return {0xF000'0000u}; }
    static constexpr Event allEvents() { return {0xFFFF'FFFFu}; }
};

} // namespace UIKit
