#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/CGRect.hpp"
#include "Platform/UIKit/UIModalPresentationStyle.hpp"

#include <memory>

namespace UIKit {

class UIAdaptivePresentationControllerDelegate;
class UIView;
class UIViewController;
struct UITraitCollection;

// Manages one presentation of a controller: how it adapts to a compact width, whether the user may dismiss
// it, and, for a custom presentation, the container view the presented view lives in while it is up and
// where in it the presented view goes. A custom one is made by a transitioning delegate; the presenting
// controller calls the hooks around the transitions.
class UIPresentationController : public Foundation::NSObject {
public:
    std::shared_ptr<UIViewController> presentedViewController() const { return m_presentedViewController.lock(); }
    std::shared_ptr<UIViewController> presentingViewController() const { return m_presentingViewController.lock(); }
    // The presented controller's view; none once that controller is gone.
    std::shared_ptr<UIView> presentedView() const;
    // Exists from the start of the presentation to the end of the dismissal.
    std::shared_ptr<UIView> containerView() const { return m_containerView; }

    std::shared_ptr<UIAdaptivePresentationControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<UIAdaptivePresentationControllerDelegate>& delegate) { m_delegate = delegate; }
    // The style the presented controller asked for.
    UIModalPresentationStyle presentationStyle() const;
    // The style it takes under these traits: in a compact width pop-overs and sheets show full screen,
    // unless the delegate says otherwise (`none` keeping the asked-for style).
    UIModalPresentationStyle adaptivePresentationStyle(const UITraitCollection& traits);

    // The container's bounds by default; the zero rectangle without a container.
    virtual CGRect frameOfPresentedViewInContainerView() const;

    virtual void presentationTransitionWillBegin() {}
    virtual void presentationTransitionDidEnd(bool /*completed*/) {}
    virtual void dismissalTransitionWillBegin() {}
    virtual void dismissalTransitionDidEnd(bool /*completed*/) {}
    virtual void containerViewWillLayoutSubviews() {}
    virtual void containerViewDidLayoutSubviews() {}

protected:
    friend Foundation::Construct;
    // init(presentedViewController:presenting:). Both are held weakly: the presented controller keeps
    // its presentation controller.
    UIPresentationController(const std::shared_ptr<UIViewController>& presentedViewController,
                             const std::shared_ptr<UIViewController>& presenting)
        : m_presentedViewController(presentedViewController)
        , m_presentingViewController(presenting)
    {
    }
    void setPresentingViewController(const std::shared_ptr<UIViewController>& presenting)
    {
        m_presentingViewController = presenting;
    }

private:
    friend class UIViewController;
    std::weak_ptr<UIViewController> m_presentedViewController;
    std::weak_ptr<UIViewController> m_presentingViewController;
    std::shared_ptr<UIView> m_containerView;
    std::weak_ptr<UIAdaptivePresentationControllerDelegate> m_delegate;
};

} // namespace UIKit
