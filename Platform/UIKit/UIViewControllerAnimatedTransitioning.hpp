#pragma once

#include <memory>

namespace UIKit {

class UIViewControllerContextTransitioning;
class UIViewImplicitlyAnimating;

// An object that animates one transition. An interface.
class UIViewControllerAnimatedTransitioning {
public:
    virtual ~UIViewControllerAnimatedTransitioning() = default;

    virtual double transitionDuration(const std::shared_ptr<UIViewControllerContextTransitioning>& using_) = 0;
    virtual void animateTransition(const std::shared_ptr<UIViewControllerContextTransitioning>& using_) = 0;
    // For interruptible transitions; none by default.
    virtual std::shared_ptr<UIViewImplicitlyAnimating>
    interruptibleAnimator(const std::shared_ptr<UIViewControllerContextTransitioning>& /*using_*/)
    {
        return nullptr;
    }

protected:
    UIViewControllerAnimatedTransitioning() = default;
    UIViewControllerAnimatedTransitioning(const UIViewControllerAnimatedTransitioning&) = default;
    UIViewControllerAnimatedTransitioning& operator=(const UIViewControllerAnimatedTransitioning&) = default;
};

} // namespace UIKit
