#pragma once

#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/UIEdgeInsets.hpp"

#include <optional>

namespace Basalwork {

inline UIKit::CGFloat horizontal(const UIKit::UIEdgeInsets& insets)
{
    return insets.left + insets.right;
}

inline UIKit::CGFloat vertical(const UIKit::UIEdgeInsets& insets)
{
    return insets.top + insets.bottom;
}

// Initialisers of UIEdgeInsets (the name has no plural of its own).
struct UIEdgeInsetsConstants {
    // init(all:)
    static constexpr UIKit::UIEdgeInsets withAll(UIKit::CGFloat all) { return {all, all, all, all}; }
    // init(horizontal:vertical:)
    static constexpr UIKit::UIEdgeInsets withHorizontal(UIKit::CGFloat horizontal, UIKit::CGFloat vertical)
    {
        return {vertical, horizontal, vertical, horizontal};
    }
    // init(horizontal:top:bottom:)
    static constexpr UIKit::UIEdgeInsets withHorizontal(UIKit::CGFloat horizontal, UIKit::CGFloat top,
                                                        UIKit::CGFloat bottom)
    {
        return {top, horizontal, bottom, horizontal};
    }
    // init(default:top:bottom:left:right:): each side given, or `default_` where absent.
    static constexpr UIKit::UIEdgeInsets withDefault(UIKit::CGFloat default_, std::optional<UIKit::CGFloat> top,
                                                     std::optional<UIKit::CGFloat> bottom,
                                                     std::optional<UIKit::CGFloat> left,
                                                     std::optional<UIKit::CGFloat> right)
    {
        return {top.value_or(default_), left.value_or(default_), bottom.value_or(default_), right.value_or(default_)};
    }
};

} // namespace Basalwork
