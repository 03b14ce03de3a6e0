#pragma once

#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/CGPoint.hpp"
#include "Platform/UIKit/CGRect.hpp"
#include "Platform/UIKit/CGSize.hpp"

namespace UIKit {

// The matrix [a b 0; c d 0; tx ty 1] acting on row vectors: (x, y) becomes (a x + c y + tx, b x + d y + ty).
struct CGAffineTransform {
    CGFloat a = 1;
    CGFloat b = 0;
    CGFloat c = 0;
    CGFloat d = 1;
    CGFloat tx = 0;
    CGFloat ty = 0;

    static constexpr CGAffineTransform identity() { return {}; }
    static constexpr CGAffineTransform translation(CGFloat tx, CGFloat ty) { return {1, 0, 0, 1, tx, ty}; }
    static constexpr CGAffineTransform scale(CGFloat sx, CGFloat sy) { return {sx, 0, 0, sy, 0, 0}; }
    // Radians; positive angles turn the x axis towards the y axis.
    static CGAffineTransform rotation(CGFloat angle);

    bool isIdentity() const { return *this == identity(); }
    // This transform first, then `other`.
    CGAffineTransform concatenating(const CGAffineTransform& other) const;
    // A transform that cannot be inverted comes back unchanged.
    CGAffineTransform inverted() const;

    CGPoint apply(CGPoint point) const;
    // Sizes are vectors: the translation does not move them.
    CGSize apply(CGSize size) const;
    // The smallest rectangle holding the transformed corners; the null rectangle stays null.
    CGRect apply(const CGRect& rect) const;

    friend constexpr bool operator==(const CGAffineTransform&, const CGAffineTransform&) = default;
};

} // namespace UIKit
