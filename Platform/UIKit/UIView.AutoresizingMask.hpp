#pragma once

#include "Platform/Foundation/OptionSet.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <cstdint>

namespace UIKit {

// Which of a view's margins and sizes stretch when its superview is resized.
struct UIView::AutoresizingMask : Foundation::OptionSet<UIView::AutoresizingMask> {
    static constexpr AutoresizingMask flexibleLeftMargin() { return {1}; }
    static constexpr AutoresizingMask flexibleWidth() { return {2}; }
    static constexpr AutoresizingMask flexibleRightMargin() { return {4}; }
    static constexpr AutoresizingMask flexibleTopMargin() { return {8}; }
    static constexpr AutoresizingMask flexibleHeight() { return {16}; }
    static constexpr AutoresizingMask flexibleBottomMargin() { return {32}; }
};

inline UIView::AutoresizingMask UIView::autoresizingMask() const
{
    return {m_autoresizingMask};
}

inline void UIView::setAutoresizingMask(AutoresizingMask mask)
{
    if (m_autoresizingMask == mask.rawValue)
        return;
    m_autoresizingMask = mask.rawValue;
    layoutInputDidChange(true);
}

} // namespace UIKit
