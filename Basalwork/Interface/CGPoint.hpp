#pragma once

#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/CGPoint.hpp"

namespace Basalwork {

constexpr UIKit::CGPoint withX(UIKit::CGPoint point, UIKit::CGFloat x)
{
    return {x, point.y};
}

constexpr UIKit::CGPoint withY(UIKit::CGPoint point, UIKit::CGFloat y)
{
    return {point.x, y};
}

} // namespace Basalwork
