#include "Basalwork/Interface/UIViewPropertyAnimator.hpp"

namespace Basalwork {

UIViewPropertyAnimator::AnimationState animationState(const UIKit::UIViewPropertyAnimator& animator)
{
    switch (animator.state()) {
    case UIKit::UIViewAnimatingState::inactive:
        return UIViewPropertyAnimator::AnimationState::readyForAnimations;
    case UIKit::UIViewAnimatingState::active:
        return animator.isRunning() ? UIViewPropertyAnimator::AnimationState::running
                                    : UIViewPropertyAnimator::AnimationState::paused;
    case UIKit::UIViewAnimatingState::stopped:
        break;
    }
    return UIViewPropertyAnimator::AnimationState::finished;
}

} // namespace Basalwork
