#pragma once

#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/UITimingCurveProvider.hpp"
#include "Platform/UIKit/UIViewAnimatingPosition.hpp"
#include "Platform/UIKit/UIViewAnimatingState.hpp"

#include <functional>
#include <optional>

namespace UIKit {

// An animation that can be started, paused, stopped and finished, and that takes further animations
// and completions while it runs. An interface: the objects adopting it derive from NSObject themselves.
class UIViewImplicitlyAnimating {
public:
    virtual ~UIViewImplicitlyAnimating() = default;

    virtual UIViewAnimatingState state() const = 0;
    virtual bool isRunning() const = 0;
    virtual bool isReversed() const = 0;
    virtual void setIsReversed(bool reversed) = 0;
    virtual CGFloat fractionComplete() const = 0;
    virtual void setFractionComplete(CGFloat fraction) = 0;
    virtual void startAnimation() = 0;
    virtual void startAnimation(double afterDelay) = 0;
    virtual void pauseAnimation() = 0;
    virtual void stopAnimation(bool withoutFinishing) = 0;
    virtual void finishAnimation(UIViewAnimatingPosition at) = 0;

    virtual void addAnimations(std::function<void()> animation) = 0;
    virtual void addAnimations(std::function<void()> animation, CGFloat delayFactor) = 0;
    virtual void addCompletion(std::function<void(UIViewAnimatingPosition)> completion) = 0;
    virtual void continueAnimation(std::optional<UITimingCurveProvider> withTimingParameters, CGFloat durationFactor) = 0;

protected:
    UIViewImplicitlyAnimating() = default;
    UIViewImplicitlyAnimating(const UIViewImplicitlyAnimating&) = default;
    UIViewImplicitlyAnimating& operator=(const UIViewImplicitlyAnimating&) = default;
};

} // namespace UIKit
