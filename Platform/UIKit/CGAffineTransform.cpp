#include "Platform/UIKit/CGAffineTransform.hpp"

#include <algorithm>
#include <cmath>

namespace UIKit {

CGAffineTransform CGAffineTransform::rotation(CGFloat angle)
{
    CGFloat cosine = std::cos(angle);
    CGFloat sine = std::sin(angle);
    return {cosine, sine, -sine, cosine, 0, 0};
}

CGAffineTransform CGAffineTransform::concatenating(const CGAffineTransform& t) const
{
    return {
        a * t.a + b * t.c,
        a * t.b + b * t.d,
        c * t.a + d * t.c,
        c * t.b + d * t.d,
        tx * t.a + ty * t.c + t.tx,
        tx * t.b + ty * t.d + t.ty,
    };
}

CGAffineTransform CGAffineTransform::inverted() const
{
    CGFloat determinant = a * d - b * c;
    if (determinant == 0 || !std::isfinite(determinant))
        return *this;
    CGFloat ia = d / determinant;
    CGFloat ib = -b / determinant;
    CGFloat ic = -c / determinant;
    CGFloat id = a / determinant;
    return {ia, ib, ic, id, -(tx * ia + ty * ic), -(tx * ib + ty * id)};
}

CGPoint CGAffineTransform::apply(CGPoint p) const
{
    return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty};
}

CGSize CGAffineTransform::apply(CGSize s) const
{
    return {a * s.width + c * s.height, b * s.width + d * s.height};
}

CGRect CGAffineTransform::apply(const CGRect& rect) const
{
    if (rect.isNull())
        return rect;
    CGPoint corners[] = {
        apply(CGPoint {rect.minX(), rect.minY()}),
        apply(CGPoint {rect.maxX(), rect.minY()}),
        apply(CGPoint {rect.minX(), rect.maxY()}),
        apply(CGPoint {rect.maxX(), rect.maxY()}),
    };
    CGFloat x0 = corners[0].x, x1 = corners[0].x, y0 = corners[0].y, y1 = corners[0].y;
    for (const auto& corner : corners) {
        x0 = std::min(x0, corner.x);
        x1 = std::max(x1, corner.x);
        y0 = std::min(y0, corner.y);
        y1 = std::max(y1, corner.y);
    }
    return {x0, y0, x1 - x0, y1 - y0};
}

} // namespace UIKit
