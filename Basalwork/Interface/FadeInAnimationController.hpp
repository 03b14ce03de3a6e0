#pragma once

#include "Basalwork/Interface/AnimationController.hpp"

namespace Basalwork {

// Fades the incoming view in over the transition; it is added to the container first.
// Without the view it needs, the fallback completes the transition without animating, so the
// presentation never stalls.
class FadeInAnimationController : public AnimationController {
public:
    std::shared_ptr<Animators> makeAnimators(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& using_) override;
    std::shared_ptr<Animators>
    makeFallbackAnimators(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& using_) override;

protected:
    friend Foundation::Construct;
    FadeInAnimationController() = default;
};

} // namespace Basalwork
