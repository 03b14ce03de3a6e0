#include "Platform/UIKit/CATransform3D.hpp"

#include <cmath>

namespace UIKit {

CATransform3D CATransform3D::rotation(CGFloat angle, CGFloat x, CGFloat y, CGFloat z)
{
    CGFloat length = std::sqrt(x * x + y * y + z * z);
    if (!(length > 0))
        return identity();
    x /= length;
    y /= length;
    z /= length;
    CGFloat c = std::cos(angle);
    CGFloat s = std::sin(angle);
    CGFloat t = 1 - c;
    // The rotation matrix for column vectors, transposed for the row vectors layers use; about z this
    // turns x towards y, as CGAffineTransform's rotation does.
    CATransform3D result;
    result.m11 = t * x * x + c;
    result.m12 = t * x * y + s * z;
    result.m13 = t * x * z - s * y;
    result.m21 = t * x * y - s * z;
    result.m22 = t * y * y + c;
    result.m23 = t * y * z + s * x;
    result.m31 = t * x * z + s * y;
    result.m32 = t * y * z - s * x;
    result.m33 = t * z * z + c;
    return result;
}

} // namespace UIKit
