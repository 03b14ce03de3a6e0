#pragma once

#include "Platform/UIKit/UIWindow.hpp"

#include <compare>

namespace UIKit {

// How far in front a window stands: windows of higher levels are shown above lower ones.
struct UIWindow::Level {
    double rawValue = 0;

    static constexpr Level normal() { return {0}; }
    static constexpr Level statusBar() { return {1000}; }
    static constexpr Level alert() { return {2000}; }

    friend constexpr auto operator<=>(const Level&, const Level&) = default;
};

inline UIWindow::Level UIWindow::windowLevel() const
{
    return {m_windowLevel};
}

inline void UIWindow::setWindowLevel(Level level)
{
    m_windowLevel = level.rawValue;
}

} // namespace UIKit
