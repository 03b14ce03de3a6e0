#pragma once

#include "Platform/UIKit/UIModalPresentationStyle.hpp"

#include <optional>

namespace UIKit {

class UIPresentationController;
struct UITraitCollection;

// What a presentation controller asks of and tells its delegate: how to adapt to a compact width, and
// whether the user may dismiss the presented controller (a tap outside a pop-over). Every answer has a
// default; the presentation controller holds its delegate weakly.
class UIAdaptivePresentationControllerDelegate {
public:
    virtual ~UIAdaptivePresentationControllerDelegate() = default;

    // adaptivePresentationStyle(for:traitCollection:): the style to show in under these traits; `none`
    // keeps the style asked for. Nothing leaves the choice to the presentation controller.
    virtual std::optional<UIModalPresentationStyle> adaptivePresentationStyle(UIPresentationController& /*controller*/,
                                                                              const UITraitCollection& /*traits*/)
    {
        return std::nullopt;
    }
    virtual bool presentationControllerShouldDismiss(UIPresentationController& /*controller*/) { return true; }
    virtual void presentationControllerWillDismiss(UIPresentationController& /*controller*/) {}
    virtual void presentationControllerDidDismiss(UIPresentationController& /*controller*/) {}
    // The user tried to dismiss a controller that is modal in presentation, or whose dismissal the
    // delegate refused.
    virtual void presentationControllerDidAttemptToDismiss(UIPresentationController& /*controller*/) {}

protected:
    UIAdaptivePresentationControllerDelegate() = default;
    UIAdaptivePresentationControllerDelegate(const UIAdaptivePresentationControllerDelegate&) = default;
    UIAdaptivePresentationControllerDelegate& operator=(const UIAdaptivePresentationControllerDelegate&) = default;
};

} // namespace UIKit
