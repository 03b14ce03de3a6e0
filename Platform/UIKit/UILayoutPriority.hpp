#pragma once

#include <compare>

namespace UIKit {

// How strongly a constraint holds, from 1 to 1000 (required).
struct UILayoutPriority {
    float rawValue = 1000;

    static constexpr UILayoutPriority required() { return {1000}; }
    static constexpr UILayoutPriority defaultHigh() { return {750}; }
    static constexpr UILayoutPriority defaultLow() { return {250}; }
    static constexpr UILayoutPriority fittingSizeLevel() { return {50}; }

    friend constexpr auto operator<=>(const UILayoutPriority&, const UILayoutPriority&) = default;
};

} // namespace UIKit
