#pragma once

#include "Platform/UIKit/CGAffineTransform.hpp"
#include "Platform/UIKit/CGFloat.hpp"

#include <numbers>

namespace Basalwork {

// Initialisers of CGAffineTransform; a rotation by radians is the platform's own `rotation`.
struct CGAffineTransforms {
    // init(rotationAngleDegrees:)
    static UIKit::CGAffineTransform withRotationAngleDegrees(UIKit::CGFloat degrees)
    {
        return UIKit::CGAffineTransform::rotation(degrees * std::numbers::pi / 180);
    }
};

} // namespace Basalwork
