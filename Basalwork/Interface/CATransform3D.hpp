#pragma once

#include "Platform/UIKit/CATransform3D.hpp"
#include "Platform/UIKit/CGFloat.hpp"

namespace Basalwork {

struct CATransform3Ds {
    // A rotation by radians about the y axis.
    static UIKit::CATransform3D yRotation(UIKit::CGFloat angle) { return UIKit::CATransform3D::rotation(angle, 0, 1, 0); }
};

} // namespace Basalwork
