#pragma once

#include "Platform/AppKit/NSWindow.hpp"

#include <memory>

namespace AppKit {

// The rounded pop-up window in which the system offers text completions beside the text being typed.
class SPRoundedWindow : public NSWindow {
public:
    // The system's completion pop-up, shown over every normal window: its content is the completion
    // list.
    static std::shared_ptr<SPRoundedWindow> showCompletionList();

protected:
    friend Foundation::Construct;
    SPRoundedWindow() = default;
};

} // namespace AppKit
