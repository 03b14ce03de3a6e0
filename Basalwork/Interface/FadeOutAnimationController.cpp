#include "Basalwork/Interface/FadeOutAnimationController.hpp"

#include "Basalwork/Interface/FadeAnimators.hpp"
#include "Basalwork/Interface/UIViewControllerContextTransitioning.hpp"

#include "Platform/UIKit/UIView.hpp"

namespace Basalwork {

std::shared_ptr<AnimationController::Animators>
FadeOutAnimationController::makeAnimators(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& using_)
{
    auto outgoing = view<UIKit::UIView>(*using_, UIKit::UITransitionContextViewKey::from());
    return makeFadeAnimators(using_, [outgoing] { outgoing->setAlpha(0.0); });
}

std::shared_ptr<AnimationController::Animators>
FadeOutAnimationController::makeFallbackAnimators(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& using_)
{
    return makeFadeAnimators(using_, nullptr);
}

} // namespace Basalwork
