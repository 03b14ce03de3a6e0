#pragma once

#include "Platform/UIKit/CGFloat.hpp"

namespace Basalwork {

// Insets for the layout helpers. Every side counts inwards: a positive trailing or bottom inset moves
// the subview's edge away from the container's edge, just as a positive leading or top inset does.
class LayoutInsets {
public:
    constexpr LayoutInsets(UIKit::CGFloat leading, UIKit::CGFloat trailing, UIKit::CGFloat top, UIKit::CGFloat bottom)
        : m_leading(leading)
        , m_trailing(trailing)
        , m_top(top)
        , m_bottom(bottom)
    {
    }
    // init(all:)
    static constexpr LayoutInsets withAll(UIKit::CGFloat all) { return {all, all, all, all}; }
    // init(horizontal:vertical:)
    static constexpr LayoutInsets withHorizontal(UIKit::CGFloat horizontal, UIKit::CGFloat vertical)
    {
        return {horizontal, horizontal, vertical, vertical};
    }
    static constexpr LayoutInsets zero() { return {0, 0, 0, 0}; }

    constexpr UIKit::CGFloat leading() const { return m_leading; }
    constexpr UIKit::CGFloat trailing() const { return m_trailing; }
    constexpr UIKit::CGFloat top() const { return m_top; }
    constexpr UIKit::CGFloat bottom() const { return m_bottom; }

private:
    UIKit::CGFloat m_leading;
    UIKit::CGFloat m_trailing;
    UIKit::CGFloat m_top;
    UIKit::CGFloat m_bottom;
};

} // namespace Basalwork
