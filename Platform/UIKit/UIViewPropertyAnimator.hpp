#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/UIViewImplicitlyAnimating.hpp"

#include <cstdint>
#include <functional>
#include <vector>

namespace UIKit {

// An animation driven by hand. Nothing moves on screen, so starting (or pausing) applies the animations'
// end state at once; a running animator reaches its end once its remaining time has passed on the clock,
// on the main loop, and then calls its completions in order. A running animator keeps itself alive.
class UIViewPropertyAnimator : public Foundation::NSObject, public UIViewImplicitlyAnimating {
public:
    double duration() const { return m_duration; }
    const UITimingCurveProvider& timingParameters() const { return m_timingParameters; }

    UIViewAnimatingState state() const override { return m_state; }
    bool isRunning() const override { return m_isRunning; }
    bool isReversed() const override { return m_isReversed; }
    void setIsReversed(bool reversed) override { m_isReversed = reversed; }
    CGFloat fractionComplete() const override { return m_fractionComplete; }
    void setFractionComplete(CGFloat fraction) override;
    void startAnimation() override;
    void startAnimation(double afterDelay) override;
    void pauseAnimation() override;
    // Without finishing: back to inactive and no completion runs. Otherwise the animator waits, stopped,
    // for `finishAnimation(at:)`.
    void stopAnimation(bool withoutFinishing) override;
    // Only a stopped animator can be finished; anything else stops the program, as on the platform.
    void finishAnimation(UIViewAnimatingPosition at) override;

    void addAnimations(std::function<void()> animation) override;
    void addAnimations(std::function<void()> animation, CGFloat delayFactor) override;
    void addCompletion(std::function<void(UIViewAnimatingPosition)> completion) override;
    void continueAnimation(std::optional<UITimingCurveProvider> withTimingParameters, CGFloat durationFactor) override;

protected:
    friend Foundation::Construct;
    UIViewPropertyAnimator(double duration, UITimingCurveProvider timingParameters)
        : m_duration(duration)
        , m_timingParameters(timingParameters)
    {
    }
    // init(duration:curve:animations:)
    UIViewPropertyAnimator(double duration, UITimingCurveProvider::Curve curve, std::function<void()> animations);
    // init(duration:dampingRatio:animations:)
    UIViewPropertyAnimator(double duration, CGFloat dampingRatio, std::function<void()> animations);

private:
    void applyPendingAnimations();
    void scheduleEnd(double delay, double durationFactor);
    void reachEnd(std::uint64_t generation);
    void finish(UIViewAnimatingPosition position);

    double m_duration;
    UITimingCurveProvider m_timingParameters;
    UIViewAnimatingState m_state = UIViewAnimatingState::inactive;
    bool m_isRunning = false;
    bool m_isReversed = false;
    CGFloat m_fractionComplete = 0;
    std::vector<std::function<void()>> m_pendingAnimations;
    std::vector<std::function<void(UIViewAnimatingPosition)>> m_completions;
    // Bumped whenever a scheduled end no longer stands (pause, stop, a new start).
    std::uint64_t m_generation = 0;
};

} // namespace UIKit
