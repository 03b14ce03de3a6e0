#pragma once

#include "Basalwork/Interface/AnimationController.hpp"

#include "Platform/UIKit/UIViewControllerContextTransitioning.hpp"

#include <functional>
#include <memory>

namespace Basalwork {

// One linear 0.42 s animator that completes the transition as finished exactly when it ended at its end
// and the context was not cancelled; shared by both fades and their fallbacks.
std::shared_ptr<AnimationController::Animators>
makeFadeAnimators(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& context, std::function<void()> animation);

} // namespace Basalwork
