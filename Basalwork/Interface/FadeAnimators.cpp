#include "Basalwork/Interface/FadeAnimators.hpp"

namespace Basalwork {

std::shared_ptr<AnimationController::Animators>
makeFadeAnimators(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& context, std::function<void()> animation)
{
    auto animator = Foundation::make<UIKit::UIViewPropertyAnimator>(0.42, UIKit::UITimingCurveProvider::Curve::linear,
                                                                    std::move(animation));
    // Weak: the context is kept by whoever runs the transition, not by its animations.
    std::weak_ptr<UIKit::UIViewControllerContextTransitioning> weakContext = context;
    animator->addCompletion([weakContext](UIKit::UIViewAnimatingPosition position) {
        if (auto context = weakContext.lock())
            context->completeTransition(position == UIKit::UIViewAnimatingPosition::end && !context->transitionWasCancelled());
    });
    return Foundation::make<AnimationController::Animators>(animator, std::vector<std::shared_ptr<UIKit::UIViewPropertyAnimator>> {});
}

} // namespace Basalwork
