#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/CGFloat.hpp"

namespace UIKit {

class UIColor;
struct UITraitCollection;

// A colour as layers take it: fixed components, no longer following appearance. Immutable and shared.
class CGColor : public Foundation::NSObject {
public:
    CGFloat red() const { return m_red; }
    CGFloat green() const { return m_green; }
    CGFloat blue() const { return m_blue; }
    CGFloat alpha() const { return m_alpha; }

protected:
    friend Foundation::Construct;
    CGColor(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha)
        : m_red(red)
        , m_green(green)
        , m_blue(blue)
        , m_alpha(alpha)
    {
    }
    // A dynamic colour is resolved for the traits first.
    CGColor(const UIColor& color, const UITraitCollection& traits);

private:
    CGFloat m_red;
    CGFloat m_green;
    CGFloat m_blue;
    CGFloat m_alpha;
};

} // namespace UIKit
