#pragma once

#include "Platform/Foundation/OptionSet.hpp"
#include "Platform/UIKit/UIControl.hpp"

#include <cstdint>

namespace UIKit {

// A control's state as a set of flags; normal is the empty set.
struct UIControl::State : Foundation::OptionSet<UIControl::State> {
    static constexpr State normal() { return {0}; }
    static constexpr State highlighted() { return {1u << 0}; }
    static constexpr State disabled() { return {1u << 1}; }
    static constexpr State selected() { return {1u << 2}; }
    static constexpr State focused() { return {1u << 3}; }
};

} // namespace UIKit
