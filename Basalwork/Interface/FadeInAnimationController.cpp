#include "Basalwork/Interface/FadeInAnimationController.hpp"

#include "Basalwork/Interface/FadeAnimators.hpp"
#include "Basalwork/Interface/UIViewControllerContextTransitioning.hpp"

#include "Platform/UIKit/UIView.hpp"

namespace Basalwork {

std::shared_ptr<AnimationController::Animators>
FadeInAnimationController::makeAnimators(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& using_)
{
    auto incoming = view<UIKit::UIView>(*using_, UIKit::UITransitionContextViewKey::to());
    if (auto container = using_->containerView())
        container->addSubview(incoming);
    incoming->setAlpha(0.0);
    return makeFadeAnimators(using_, [incoming] { incoming->setAlpha(1.0); });
}

std::shared_ptr<AnimationController::Animators>
FadeInAnimationController::makeFallbackAnimators(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& using_)
{
    return makeFadeAnimators(using_, nullptr);
}

} // namespace Basalwork
