#pragma once

namespace UIKit {

// What a pop-over tells the object that manages it. The pop-over holds its delegate weakly.
class UIPopoverPresentationControllerDelegate {
public:
    virtual ~UIPopoverPresentationControllerDelegate() = default;

protected:
    UIPopoverPresentationControllerDelegate() = default;
    UIPopoverPresentationControllerDelegate(const UIPopoverPresentationControllerDelegate&) = default;
    UIPopoverPresentationControllerDelegate& operator=(const UIPopoverPresentationControllerDelegate&) = default;
};

} // namespace UIKit
