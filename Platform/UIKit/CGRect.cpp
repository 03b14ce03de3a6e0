#include "Platform/UIKit/CGRect.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace UIKit {

CGRect CGRect::null()
{
    constexpr CGFloat infinity = std::numeric_limits<CGFloat>::infinity();
    return {infinity, infinity, 0, 0};
}

CGRect CGRect::standardized() const
{
    if (isNull())
        return *this;
    CGRect result = *this;
    if (result.size.width < 0) {
        result.origin.x += result.size.width;
        result.size.width = -result.size.width;
    }
    if (result.size.height < 0) {
        result.origin.y += result.size.height;
        result.size.height = -result.size.height;
    }
    return result;
}

CGFloat CGRect::minX() const
{
    return standardized().origin.x;
}

CGFloat CGRect::midX() const
{
    auto r = standardized();
    return r.origin.x + r.size.width / 2;
}

CGFloat CGRect::maxX() const
{
    auto r = standardized();
    return r.origin.x + r.size.width;
}

CGFloat CGRect::minY() const
{
    return standardized().origin.y;
}

CGFloat CGRect::midY() const
{
    auto r = standardized();
    return r.origin.y + r.size.height / 2;
}

CGFloat CGRect::maxY() const
{
    auto r = standardized();
    return r.origin.y + r.size.height;
}

CGFloat CGRect::width() const
{
    return std::abs(size.width);
}

CGFloat CGRect::height() const
{
    return std::abs(size.height);
}

bool CGRect::isNull() const
{
    return std::isinf(origin.x) || std::isinf(origin.y);
}

bool CGRect::isEmpty() const
{
    return isNull() || size.width == 0 || size.height == 0;
}

CGRect CGRect::insetBy(CGFloat dx, CGFloat dy) const
{
    if (isNull())
        return *this;
    CGRect r = standardized();
    r.origin.x += dx;
    r.origin.y += dy;
    r.size.width -= 2 * dx;
    r.size.height -= 2 * dy;
    if (r.size.width < 0 || r.size.height < 0)
        return null();
    return r;
}

CGRect CGRect::offsetBy(CGFloat dx, CGFloat dy) const
{
    if (isNull())
        return *this;
    CGRect r = standardized();
    r.origin.x += dx;
    r.origin.y += dy;
    return r;
}

CGRect CGRect::union_(const CGRect& other) const
{
    if (isNull())
        return other.standardized();
    if (other.isNull())
        return standardized();
    CGFloat x0 = std::min(minX(), other.minX());
    CGFloat y0 = std::min(minY(), other.minY());
    CGFloat x1 = std::max(maxX(), other.maxX());
    CGFloat y1 = std::max(maxY(), other.maxY());
    return {x0, y0, x1 - x0, y1 - y0};
}

CGRect CGRect::intersection(const CGRect& other) const
{
    if (isNull() || other.isNull())
        return null();
    CGFloat x0 = std::max(minX(), other.minX());
    CGFloat y0 = std::max(minY(), other.minY());
    CGFloat x1 = std::min(maxX(), other.maxX());
    CGFloat y1 = std::min(maxY(), other.maxY());
    if (x1 < x0 || y1 < y0)
        return null();
    return {x0, y0, x1 - x0, y1 - y0};
}

bool CGRect::intersects(const CGRect& other) const
{
    // Rectangles that only touch meet in a rectangle without area, which is no intersection.
    return !intersection(other).isEmpty();
}

bool CGRect::contains(CGPoint point) const
{
    if (isNull())
        return false;
    return point.x >= minX() && point.x < maxX() && point.y >= minY() && point.y < maxY();
}

bool operator==(const CGRect& lhs, const CGRect& rhs)
{
    if (lhs.isNull() || rhs.isNull())
        return lhs.isNull() && rhs.isNull();
    auto a = lhs.standardized();
    auto b = rhs.standardized();
    return a.origin == b.origin && a.size == b.size;
}

} // namespace UIKit
