#pragma once

#include "Platform/UIKit/CGFloat.hpp"

namespace UIKit {

struct CGPoint {
    CGFloat x = 0;
    CGFloat y = 0;

    static constexpr CGPoint zero() { return {}; }

    friend constexpr bool operator==(const CGPoint&, const CGPoint&) = default;
};

} // namespace UIKit
