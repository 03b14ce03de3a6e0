#pragma once

#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/UIFont.hpp"

#include <compare>

namespace UIKit {

// How heavy the strokes are, from -1 (lightest) to 1 (heaviest); regular is 0.
struct UIFont::Weight {
    CGFloat rawValue = 0;

    static constexpr Weight ultraLight() { return {-0.8}; }
    static constexpr Weight thin() { return {-0.6}; }
    static constexpr Weight light() { return {-0.4}; }
    static constexpr Weight regular() { return {0}; }
    static constexpr Weight medium() { return {0.23}; }
    static constexpr Weight semibold() { return {0.3}; }
    static constexpr Weight bold() { return {0.4}; }
    static constexpr Weight heavy() { return {0.56}; }
    static constexpr Weight black() { return {0.62}; }

    friend constexpr auto operator<=>(const Weight&, const Weight&) = default;
};

} // namespace UIKit
