#pragma once

#include "Basalwork/Interface/CGSize.hpp"

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/CGRect.hpp"
#include "Platform/UIKit/UIBezierPath.hpp"

#include <memory>

namespace Basalwork {

// Initialisers of CGRect: rectangles at the origin.
struct CGRects {
    // init(size:)
    static constexpr UIKit::CGRect withSize(UIKit::CGSize size) { return {UIKit::CGPoint {}, size}; }
    // init(width:height:)
    static constexpr UIKit::CGRect withWidth(UIKit::CGFloat width, UIKit::CGFloat height)
    {
        return {0, 0, width, height};
    }
};

// The centre in the rectangle's own coordinates (as for bounds): half the normalised width and height,
// without the origin.
inline UIKit::CGPoint center(const UIKit::CGRect& rect)
{
    return {rect.width() * 0.5, rect.height() * 0.5};
}

// On the stored size, as for CGSize.
constexpr bool isWiderThanTall(const UIKit::CGRect& rect)
{
    return isWiderThanTall(rect.size);
}

constexpr bool isTallerThanWide(const UIKit::CGRect& rect)
{
    return isTallerThanWide(rect.size);
}

constexpr UIKit::CGFloat minDimension(const UIKit::CGRect& rect)
{
    return minDimension(rect.size);
}

inline std::shared_ptr<UIKit::UIBezierPath> bezierPath(const UIKit::CGRect& rect, UIKit::CGFloat cornerRadius)
{
    return Foundation::make<UIKit::UIBezierPath>(rect, cornerRadius);
}

} // namespace Basalwork
