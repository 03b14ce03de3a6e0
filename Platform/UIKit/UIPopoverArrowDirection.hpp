#pragma once

#include "Platform/Foundation/OptionSet.hpp"

#include <cstdint>

namespace UIKit {

// The sides of its anchor a pop-over's arrow may point from, as a set of flags.
struct UIPopoverArrowDirection : Foundation::OptionSet<UIPopoverArrowDirection> {
    static constexpr UIPopoverArrowDirection up() { return {1u << 0}; }
    static constexpr UIPopoverArrowDirection down() { return {1u << 1}; }
    static constexpr UIPopoverArrowDirection left() { return {1u << 2}; }
    static constexpr UIPopoverArrowDirection right() { return {1u << 3}; }
    static constexpr UIPopoverArrowDirection any() { return {0xF}; }
    static constexpr UIPopoverArrowDirection unknown() { return {~std::uint64_t {0}}; }
};

} // namespace UIKit
