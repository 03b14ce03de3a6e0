#include "Platform/UIKit/UIViewPropertyAnimator.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/DispatchTime.hpp"
#include "Platform/Foundation/FatalError.hpp"

#include <algorithm>
#include <utility>

namespace UIKit {

UIViewPropertyAnimator::UIViewPropertyAnimator(double duration, UITimingCurveProvider::Curve curve,
                                               std::function<void()> animations)
    : UIViewPropertyAnimator(duration, UITimingCurveProvider::cubic(curve))
{
    if (animations)
        m_pendingAnimations.push_back(std::move(animations));
}

UIViewPropertyAnimator::UIViewPropertyAnimator(double duration, CGFloat dampingRatio, std::function<void()> animations)
    : UIViewPropertyAnimator(duration, UITimingCurveProvider::spring(dampingRatio))
{
    if (animations)
        m_pendingAnimations.push_back(std::move(animations));
}

void UIViewPropertyAnimator::setFractionComplete(CGFloat fraction)
{
    m_fractionComplete = std::clamp(fraction, 0.0, 1.0);
}

void UIViewPropertyAnimator::startAnimation()
{
    startAnimation(0);
}

void UIViewPropertyAnimator::startAnimation(double afterDelay)
{
    Foundation::precondition(m_state != UIViewAnimatingState::stopped,
                             "It is an error to call startAnimation on a stopped animator");
    if (m_isRunning)
        return;
    m_state = UIViewAnimatingState::active;
    m_isRunning = true;
    applyPendingAnimations();
    scheduleEnd(afterDelay, 1);
}

void UIViewPropertyAnimator::pauseAnimation()
{
    Foundation::precondition(m_state != UIViewAnimatingState::stopped,
                             "It is an error to call pauseAnimation on a stopped animator");
    ++m_generation;
    m_state = UIViewAnimatingState::active;
    m_isRunning = false;
    applyPendingAnimations();
}

void UIViewPropertyAnimator::stopAnimation(bool withoutFinishing)
{
    if (m_state != UIViewAnimatingState::active)
        return;
    ++m_generation;
    m_isRunning = false;
    if (withoutFinishing) {
        m_state = UIViewAnimatingState::inactive;
        m_completions.clear();
    } else {
        m_state = UIViewAnimatingState::stopped;
    }
}

void UIViewPropertyAnimator::finishAnimation(UIViewAnimatingPosition at)
{
    Foundation::precondition(m_state == UIViewAnimatingState::stopped,
                             "finishAnimation(at:) may only be called on a stopped animator");
    finish(at);
}

void UIViewPropertyAnimator::addAnimations(std::function<void()> animation)
{
    if (!animation)
        return;
    m_pendingAnimations.push_back(std::move(animation));
    if (m_state == UIViewAnimatingState::active)
        applyPendingAnimations();
}

void UIViewPropertyAnimator::addAnimations(std::function<void()> animation, CGFloat /*delayFactor*/)
{
    addAnimations(std::move(animation));
}

void UIViewPropertyAnimator::addCompletion(std::function<void(UIViewAnimatingPosition)> completion)
{
    if (completion)
        m_completions.push_back(std::move(completion));
}

void UIViewPropertyAnimator::continueAnimation(std::optional<UITimingCurveProvider> withTimingParameters,
                                               CGFloat durationFactor)
{
    if (m_state != UIViewAnimatingState::active || m_isRunning)
        return;
    if (withTimingParameters)
        m_timingParameters = *withTimingParameters;
    m_isRunning = true;
    scheduleEnd(0, durationFactor);
}

void UIViewPropertyAnimator::applyPendingAnimations()
{
    // Taken first: an animation block may add another.
    auto animations = std::exchange(m_pendingAnimations, {});
    for (const auto& animation : animations)
        animation();
}

void UIViewPropertyAnimator::scheduleEnd(double delay, double durationFactor)
{
    const auto generation = ++m_generation;
    const double remaining = m_duration * (1 - m_fractionComplete) * durationFactor;
    Foundation::DispatchQueue::main()->asyncAfter(
        Foundation::DispatchTime::now() + std::max(0.0, delay + remaining),
        [self = sharedSelf(this), generation] { self->reachEnd(generation); });
}

void UIViewPropertyAnimator::reachEnd(std::uint64_t generation)
{
    if (generation != m_generation || !m_isRunning)
        return;
    m_fractionComplete = 1;
    finish(m_isReversed ? UIViewAnimatingPosition::start : UIViewAnimatingPosition::end);
}

void UIViewPropertyAnimator::finish(UIViewAnimatingPosition position)
{
    ++m_generation;
    m_state = UIViewAnimatingState::inactive;
    m_isRunning = false;
    auto completions = std::exchange(m_completions, {});
    for (const auto& completion : completions)
        completion(position);
}

} // namespace UIKit
