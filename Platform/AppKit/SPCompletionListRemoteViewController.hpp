#pragma once

#include "Platform/AppKit/NSViewController.hpp"

namespace AppKit {

// What the system's text-completion pop-up shows: the list of completions offered for the word being
// typed, drawn by another process.
class SPCompletionListRemoteViewController : public NSViewController {
protected:
    friend Foundation::Construct;
    SPCompletionListRemoteViewController() = default;
};

} // namespace AppKit
