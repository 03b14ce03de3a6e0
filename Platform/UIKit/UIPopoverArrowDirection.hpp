#pragma once

#include <cstdint>

namespace UIKit {

// The sides of its anchor a pop-over's arrow may point from, as a set of flags.
struct UIPopoverArrowDirection {
    std::uint64_t rawValue = 0;

    static constexpr UIPopoverArrowDirection up() { return {1u << 0}; }
    static constexpr UIPopoverArrowDirection down() { return {1u << 1}; }
    static constexpr UIPopoverArrowDirection left() { return {1u << 2}; }
    static constexpr UIPopoverArrowDirection right() { return {1u << 3}; }
    static constexpr UIPopoverArrowDirection any() { return {0xF}; }
    static constexpr UIPopoverArrowDirection unknown() { return {~std::uint64_t {0}}; }

    constexpr bool contains(UIPopoverArrowDirection other) const
    {
        return (rawValue & other.rawValue) == other.rawValue;
    }

    friend constexpr UIPopoverArrowDirection operator|(UIPopoverArrowDirection lhs, UIPopoverArrowDirection rhs)
    {
        return {lhs.rawValue | rhs.rawValue};
    }
    friend constexpr bool operator==(const UIPopoverArrowDirection&, const UIPopoverArrowDirection&) = default;
};

} // namespace UIKit
