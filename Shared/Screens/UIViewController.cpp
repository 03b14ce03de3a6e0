#include "Shared/Screens/UIViewController.hpp"

#include "Platform/UIKit/UIView.hpp"

namespace Shared {

void dismissIfPresenting(UIKit::UIViewController& controller, bool animated, std::function<void()> completion)
{
    if (!controller.presentedViewController()) {
        if (completion)
            completion();
        return;
    }
    controller.dismiss(animated, std::move(completion));
}

void perform(UIKit::UIViewController& controller, const std::function<void()>& updates, bool animated, double animationDuration,
             std::function<void()> completion)
{
    auto apply = [&] {
        if (updates)
            updates();
        if (controller.isViewLoaded())
            controller.view()->layoutIfNeeded();
    };
    if (!animated) {
        UIKit::UIView::performWithoutAnimation(apply);
        if (completion)
            completion();
        return;
    }
    UIKit::UIView::animate(animationDuration, apply, [completion = std::move(completion)](bool) {
        if (completion)
            completion();
    });
}

} // namespace Shared
