#pragma once

#include "Platform/UIKit/CADisplayLink.hpp"
#include "Platform/UIKit/UIViewPropertyAnimator.hpp"

#include <functional>
#include <memory>
#include <vector>

namespace Basalwork {

// A property animator that reports every display frame while it runs, for effects that depend on where
// an animation currently is (the flip swaps faces when a snapshot passes edge-on).
class AnimationUpdateReportingPropertyAnimator : public UIKit::UIViewPropertyAnimator {
public:
    void addAnimationDidUpdate(std::function<void()> closure);

    void startAnimation() override;
    void stopAnimation(bool withoutFinishing) override;

    // Called by the display link once per frame.
    virtual void displayWillUpdate();

    bool hasDisplayLink() const { return m_displayLink != nullptr; }

protected:
    friend Foundation::Construct;
    AnimationUpdateReportingPropertyAnimator(double duration, UIKit::UITimingCurveProvider timingParameters)
        : UIViewPropertyAnimator(duration, timingParameters)
    {
    }
    // init(duration:dampingRatio:animations:)
    AnimationUpdateReportingPropertyAnimator(double duration, UIKit::CGFloat dampingRatio, std::function<void()> animations)
        : UIViewPropertyAnimator(duration, dampingRatio, std::move(animations))
    {
    }

private:
    void startDisplayLink();
    void dropDisplayLink();

    std::shared_ptr<UIKit::CADisplayLink> m_displayLink;
    std::vector<std::function<void()>> m_animationDidUpdateClosures;
};

} // namespace Basalwork
