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
        // A view in no window has not been given its size yet: laid out there, it would be solved at
        // none, every optional constraint broken, only to be laid out again once it shows.
        if (controller.isViewLoaded() && controller.view()->window())
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
