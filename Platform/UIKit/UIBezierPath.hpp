#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/CGPath.hpp"
#include "Platform/UIKit/CGRect.hpp"

#include <memory>

namespace UIKit {

// A path, recorded as the rectangle it was made from and the radius of its corners: every path our code
// makes is a rectangle, rounded or not.
class UIBezierPath : public Foundation::NSObject {
public:
    CGRect bounds() const { return m_bounds; }
    CGFloat cornerRadius() const { return m_cornerRadius; }
    // The same outline as layers take it; a new immutable copy, unaffected by later changes here.
    std::shared_ptr<CGPath> cgPath() const { return Foundation::make<CGPath>(m_bounds, m_cornerRadius); }
    // fill(): paints the path with the fill colour (`UIColor::setFill`) into the drawing going on: a
    // view's, or an image renderer's (which paints the rectangle, its corners square).
    void fill() const;

protected:
    friend Foundation::Construct;
    UIBezierPath() = default;
    // init(rect:)
    explicit UIBezierPath(const CGRect& rect)
        : m_bounds(rect.standardized())
    {
    }
    // init(roundedRect:cornerRadius:)
    UIBezierPath(const CGRect& roundedRect, CGFloat cornerRadius)
        : m_bounds(roundedRect.standardized())
        , m_cornerRadius(cornerRadius)
    {
    }

private:
    CGRect m_bounds;
    CGFloat m_cornerRadius = 0;
};

} // namespace UIKit
