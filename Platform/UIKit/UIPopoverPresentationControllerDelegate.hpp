#pragma once

#include "Platform/UIKit/UIAdaptivePresentationControllerDelegate.hpp"

namespace UIKit {

// What a pop-over tells the object that manages it. The pop-over holds its delegate weakly.
class UIPopoverPresentationControllerDelegate : public UIAdaptivePresentationControllerDelegate {
protected:
    UIPopoverPresentationControllerDelegate() = default;
    UIPopoverPresentationControllerDelegate(const UIPopoverPresentationControllerDelegate&) = default;
    UIPopoverPresentationControllerDelegate& operator=(const UIPopoverPresentationControllerDelegate&) = default;
};

} // namespace UIKit
