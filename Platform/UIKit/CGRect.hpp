#pragma once

#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/CGPoint.hpp"
#include "Platform/UIKit/CGSize.hpp"

namespace UIKit {

// A rectangle by origin and size. The size may be negative; the edges and the operations below work on
// the standardized rectangle, as Core Graphics does. The null rectangle (no rectangle at all, the result
// of a failed intersection) sits at infinity.
struct CGRect {
    CGPoint origin;
    CGSize size;

    constexpr CGRect() = default;
    constexpr CGRect(CGPoint origin, CGSize size)
        : origin(origin)
        , size(size)
    {
    }
    constexpr CGRect(CGFloat x, CGFloat y, CGFloat width, CGFloat height)
        : origin {x, y}
        , size {width, height}
    {
    }

    static constexpr CGRect zero() { return {}; }
    static CGRect null();

    CGFloat minX() const;
    CGFloat midX() const;
    CGFloat maxX() const;
    CGFloat minY() const;
    CGFloat midY() const;
    CGFloat maxY() const;
    CGFloat width() const;
    CGFloat height() const;

    bool isNull() const;
    // Null, or without area.
    bool isEmpty() const;

    CGRect standardized() const;
    // Negative insets grow the rectangle; an inset that leaves a negative size gives the null rectangle.
    CGRect insetBy(CGFloat dx, CGFloat dy) const;
    CGRect offsetBy(CGFloat dx, CGFloat dy) const;
    // The smallest rectangle holding both; the null rectangle adds nothing.
    CGRect union_(const CGRect& other) const;
    // The common part; null when the rectangles do not meet, without area when they only touch.
    CGRect intersection(const CGRect& other) const;
    // True when the common part has area: rectangles that only touch do not intersect.
    bool intersects(const CGRect& other) const;
    // Half-open: a point on the maximum edges is outside.
    bool contains(CGPoint point) const;

    // Equal when both standardize to the same rectangle.
    friend bool operator==(const CGRect& lhs, const CGRect& rhs);
};

} // namespace UIKit
