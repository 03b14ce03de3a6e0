#pragma once

#include "Platform/UIKit/CGFloat.hpp"

namespace UIKit {

// A 4 x 4 matrix acting on row vectors, as Core Animation's layers take it. Recorded only: nothing is
// drawn, so no layer applies it.
struct CATransform3D {
    CGFloat m11 = 1, m12 = 0, m13 = 0, m14 = 0;
    CGFloat m21 = 0, m22 = 1, m23 = 0, m24 = 0;
    CGFloat m31 = 0, m32 = 0, m33 = 1, m34 = 0;
    CGFloat m41 = 0, m42 = 0, m43 = 0, m44 = 1;

    static constexpr CATransform3D identity() { return {}; }
    // CATransform3DMakeRotation: radians about the axis (x, y, z), which need not be of unit length; an
    // axis of no length gives the identity.
    static CATransform3D rotation(CGFloat angle, CGFloat x, CGFloat y, CGFloat z);

    friend constexpr bool operator==(const CATransform3D&, const CATransform3D&) = default;
};

} // namespace UIKit
