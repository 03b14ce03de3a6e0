#pragma once

#include "Platform/AppKit/NSWindow.hpp"

namespace AppKit {

// The desktop window that hosts a window scene of the interface kit: the scene's windows are drawn in
// it, and its level is where the whole scene stands among the desktop's windows.
class UINSWindow : public NSWindow {
protected:
    friend Foundation::Construct;
    UINSWindow() = default;
};

} // namespace AppKit
