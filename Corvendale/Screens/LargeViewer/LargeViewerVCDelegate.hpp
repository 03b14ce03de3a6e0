#pragma once

namespace Corvendale {

class LargeViewerVCDelegate {
public:
    virtual ~LargeViewerVCDelegate() = default;
    // The viewer asks to be taken away (a click anywhere, Escape).
    virtual void dismissLargeViewer() = 0;
};

} // namespace Corvendale
