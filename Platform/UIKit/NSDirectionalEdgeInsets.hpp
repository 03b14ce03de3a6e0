#pragma once

#include "Platform/UIKit/CGFloat.hpp"

namespace UIKit {

// Insets whose horizontal sides follow the layout direction: leading is left in left-to-right text.
struct NSDirectionalEdgeInsets {
    CGFloat top = 0;
    CGFloat leading = 0;
    CGFloat bottom = 0;
    CGFloat trailing = 0;

    static constexpr NSDirectionalEdgeInsets zero() { return {}; }

    friend constexpr bool operator==(const NSDirectionalEdgeInsets&, const NSDirectionalEdgeInsets&) = default;
};

} // namespace UIKit
