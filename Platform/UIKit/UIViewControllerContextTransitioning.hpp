#pragma once

#include "Platform/UIKit/CGRect.hpp"
#include "Platform/UIKit/UITransitionContextKey.hpp"

#include <memory>

namespace UIKit {

class UIView;
class UIViewController;

// What an animator is told about the transition it drives. An interface.
class UIViewControllerContextTransitioning {
public:
    virtual ~UIViewControllerContextTransitioning() = default;

    virtual std::shared_ptr<UIView> containerView() const = 0;
    virtual std::shared_ptr<UIView> view(const UITransitionContextViewKey& forKey) const = 0;
    virtual std::shared_ptr<UIViewController> viewController(const UITransitionContextViewControllerKey& forKey) const = 0;
    virtual CGRect initialFrame(const UIViewController& forController) const = 0;
    virtual CGRect finalFrame(const UIViewController& forController) const = 0;
    virtual bool transitionWasCancelled() const = 0;
    virtual void completeTransition(bool didComplete) = 0;

protected:
    UIViewControllerContextTransitioning() = default;
    UIViewControllerContextTransitioning(const UIViewControllerContextTransitioning&) = default;
    UIViewControllerContextTransitioning& operator=(const UIViewControllerContextTransitioning&) = default;
};

} // namespace UIKit
