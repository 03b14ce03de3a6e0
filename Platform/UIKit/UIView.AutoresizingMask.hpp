#pragma once

#include "Platform/UIKit/UIView.hpp"

#include <cstdint>

namespace UIKit {

// Which of a view's margins and sizes stretch when its superview is resized.
struct UIView::AutoresizingMask {
    std::uint64_t rawValue = 0;

    static constexpr AutoresizingMask flexibleLeftMargin() { return {1}; }
    static constexpr AutoresizingMask flexibleWidth() { return {2}; }
    static constexpr AutoresizingMask flexibleRightMargin() { return {4}; }
    static constexpr AutoresizingMask flexibleTopMargin() { return {8}; }
    static constexpr AutoresizingMask flexibleHeight() { return {16}; }
    static constexpr AutoresizingMask flexibleBottomMargin() { return {32}; }

    constexpr bool contains(AutoresizingMask other) const { return (rawValue & other.rawValue) == other.rawValue; }
    friend constexpr AutoresizingMask operator|(AutoresizingMask lhs, AutoresizingMask rhs)
    {
        return {lhs.rawValue | rhs.rawValue};
    }
    friend constexpr bool operator==(const AutoresizingMask&, const AutoresizingMask&) = default;
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
