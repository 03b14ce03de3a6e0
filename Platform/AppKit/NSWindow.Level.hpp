#pragma once

#include "Platform/AppKit/NSWindow.hpp"

#include <compare>
#include <cstdint>

namespace AppKit {

// How far in front a window stands on the desktop, among the windows of every application: a higher
// level stands above a lower one whichever application is active.
struct NSWindow::Level {
    std::int64_t rawValue = 0;

    static constexpr Level normal() { return {0}; }
    static constexpr Level floating() { return {3}; }
    static constexpr Level popUpMenu() { return {101}; }

    friend constexpr auto operator<=>(const Level&, const Level&) = default;
};

inline NSWindow::Level NSWindow::level() const
{
    return {m_level};
}

} // namespace AppKit
