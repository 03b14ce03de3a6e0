#pragma once

#include "Basalwork/Interface/AnimationController.hpp"

namespace Basalwork {

// Fades the outgoing view out; the container is left as it is.
// Without the view it needs, the fallback completes the transition without animating, so the
// presentation never stalls.
class FadeOutAnimationController : public AnimationController {
public:
    std::shared_ptr<Animators> makeAnimators(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& using_) override;
    std::shared_ptr<Animators>
    makeFallbackAnimators(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& using_) override;

protected:
    friend Foundation::Construct;
    FadeOutAnimationController() = default;
};

} // namespace Basalwork
