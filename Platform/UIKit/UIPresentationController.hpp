#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/CGRect.hpp"

#include <memory>

namespace UIKit {

class UIView;
class UIViewController;

// Manages a custom presentation: the container view the presented view lives in while it is up, and
// where in it the presented view goes. Made by a transitioning delegate; the presenting controller calls
// the hooks around the transitions.
class UIPresentationController : public Foundation::NSObject {
public:
    std::shared_ptr<UIViewController> presentedViewController() const { return m_presentedViewController.lock(); }
    std::shared_ptr<UIViewController> presentingViewController() const { return m_presentingViewController.lock(); }
    // The presented controller's view; none once that controller is gone.
    std::shared_ptr<UIView> presentedView() const;
    // Exists from the start of the presentation to the end of the dismissal.
    std::shared_ptr<UIView> containerView() const { return m_containerView; }

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

private:
    friend class UIViewController;
    std::weak_ptr<UIViewController> m_presentedViewController;
    std::weak_ptr<UIViewController> m_presentingViewController;
    std::shared_ptr<UIView> m_containerView;
};

} // namespace UIKit
