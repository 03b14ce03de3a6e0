#pragma once

#include "Platform/Foundation/OptionSet.hpp"
#include "Platform/UIKit/UIMenuElement.hpp"

#include <cstdint>

namespace UIKit {

// How a command or action shows in a menu, as a set of flags.
struct UIMenuElement::Attributes : Foundation::OptionSet<UIMenuElement::Attributes> {
    static constexpr Attributes disabled() { return {1u << 0}; }
    static constexpr Attributes destructive() { return {1u << 1}; }
    static constexpr Attributes hidden() { return {1u << 2}; }
    static constexpr Attributes keepsMenuPresented() { return {1u << 3}; }
};

} // namespace UIKit
