#pragma once

#include "Platform/UIKit/UIWindow.Level.hpp"

namespace Basalwork {

// Levels the kit adds to the window level type.
struct UIWindowLevels {
    // Above the app's own windows (the lock screen) while the status bar stays visible.
    static constexpr UIKit::UIWindow::Level aboveMainWindowButBelowStatusBar() { return {500.0}; }
};

} // namespace Basalwork
