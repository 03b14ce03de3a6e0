#pragma once

#include "Platform/UIKit/CGFloat.hpp"

namespace UIKit {

// Distances inwards from each edge of a rectangle.
struct UIEdgeInsets {
    CGFloat top = 0;
    CGFloat left = 0;
    CGFloat bottom = 0;
    CGFloat right = 0;

    static constexpr UIEdgeInsets zero() { return {}; }

    friend constexpr bool operator==(const UIEdgeInsets&, const UIEdgeInsets&) = default;
};

} // namespace UIKit
