#include "Basalwork/Interface/AnimationUpdateReportingPropertyAnimator.hpp"

#include "Platform/Foundation/RunLoop.hpp"

#include <utility>

namespace Basalwork {

void AnimationUpdateReportingPropertyAnimator::addAnimationDidUpdate(std::function<void()> closure)
{
    if (closure)
        m_animationDidUpdateClosures.push_back(std::move(closure));
}

void AnimationUpdateReportingPropertyAnimator::startAnimation()
{
    startDisplayLink();
    UIViewPropertyAnimator::startAnimation();
}

void AnimationUpdateReportingPropertyAnimator::stopAnimation(bool withoutFinishing)
{
    dropDisplayLink();
    UIViewPropertyAnimator::stopAnimation(withoutFinishing);
}

void AnimationUpdateReportingPropertyAnimator::displayWillUpdate()
{
    switch (state()) {
    case UIKit::UIViewAnimatingState::active:
        for (const auto& closure : m_animationDidUpdateClosures)
            closure();
        break;
    case UIKit::UIViewAnimatingState::stopped: {
        // One last report so observers see the final state, then nothing is left to report to.
        auto closures = std::exchange(m_animationDidUpdateClosures, {});
        for (const auto& closure : closures)
            closure();
        dropDisplayLink();
        break;
    }
    default:
        break;
    }
}

void AnimationUpdateReportingPropertyAnimator::startDisplayLink()
{
    dropDisplayLink();
    // Weak: the link must not keep an animator alive that its owner has let go.
    std::weak_ptr<AnimationUpdateReportingPropertyAnimator> weak = weakSelf(this);
    m_displayLink = Foundation::make<UIKit::CADisplayLink>([weak] {
        if (auto self = weak.lock())
            self->displayWillUpdate();
    });
    m_displayLink->add(Foundation::RunLoop::main(), Foundation::RunLoop::Mode::common());
}

void AnimationUpdateReportingPropertyAnimator::dropDisplayLink()
{
    if (auto link = std::exchange(m_displayLink, nullptr))
        link->invalidate();
}

} // namespace Basalwork
