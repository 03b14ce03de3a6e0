#pragma once

#include <memory>

namespace UIKit {

class UIPresentationController;
class UIViewController;
class UIViewControllerAnimatedTransitioning;

// Supplies the objects of a custom presentation. An interface; every answer may be none.
class UIViewControllerTransitioningDelegate {
public:
    virtual ~UIViewControllerTransitioningDelegate() = default;

    virtual std::shared_ptr<UIViewControllerAnimatedTransitioning>
    animationController(const std::shared_ptr<UIViewController>& /*forPresented*/,
                        const std::shared_ptr<UIViewController>& /*presenting*/,
                        const std::shared_ptr<UIViewController>& /*source*/)
    {
        return nullptr;
    }
    virtual std::shared_ptr<UIViewControllerAnimatedTransitioning>
    animationController(const std::shared_ptr<UIViewController>& /*forDismissed*/)
    {
        return nullptr;
    }

    virtual std::shared_ptr<UIPresentationController>
    presentationController(const std::shared_ptr<UIViewController>& /*forPresented*/,
                           const std::shared_ptr<UIViewController>& /*presenting*/,
                           const std::shared_ptr<UIViewController>& /*source*/)
    {
        return nullptr;
    }

protected:
    UIViewControllerTransitioningDelegate() = default;
    UIViewControllerTransitioningDelegate(const UIViewControllerTransitioningDelegate&) = default;
    UIViewControllerTransitioningDelegate& operator=(const UIViewControllerTransitioningDelegate&) = default;
};

} // namespace UIKit
