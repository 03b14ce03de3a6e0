#pragma once

#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIViewControllerAnimatedTransitioning.hpp"
#include "Platform/UIKit/UIViewImplicitlyAnimating.hpp"
#include "Platform/UIKit/UIViewPropertyAnimator.hpp"

#include <memory>
#include <variant>
#include <vector>

namespace Basalwork {

// Base of the kit's transitions: builds its property animators once per transition, so the interactive
// and non-interactive paths share them, and turns to simpler fallback animators when the preferred ones
// cannot be built.
class AnimationController : public Foundation::NSObject, public UIKit::UIViewControllerAnimatedTransitioning {
public:
    class Animators;
    class Error;

    double transitionDuration(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& using_) override;
    void animateTransition(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& using_) override;
    std::shared_ptr<UIKit::UIViewImplicitlyAnimating>
    interruptibleAnimator(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& using_) override;

    // Abstract: subclasses provide them; the base versions stop the program.
    virtual std::shared_ptr<Animators> makeAnimators(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& using_);
    virtual std::shared_ptr<Animators>
    makeFallbackAnimators(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& using_);

protected:
    friend Foundation::Construct;
    AnimationController() = default;

private:
    std::shared_ptr<Animators> makeAndStoreAnimators(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& context);

    std::shared_ptr<Animators> m_animators;
};

// The property animators of one transition; the driving one stands for the group.
class AnimationController::Animators : public Foundation::NSObject, public UIKit::UIViewImplicitlyAnimating {
public:
    const std::shared_ptr<UIKit::UIViewPropertyAnimator>& transitionDriving() const { return m_all.front(); }
    const std::vector<std::shared_ptr<UIKit::UIViewPropertyAnimator>>& all() const { return m_all; }

    UIKit::UIViewAnimatingState state() const override { return transitionDriving()->state(); }
    bool isRunning() const override { return transitionDriving()->isRunning(); }
    bool isReversed() const override { return transitionDriving()->isReversed(); }
    void setIsReversed(bool reversed) override;
    UIKit::CGFloat fractionComplete() const override { return transitionDriving()->fractionComplete(); }
    void setFractionComplete(UIKit::CGFloat fraction) override;
    void startAnimation() override;
    void startAnimation(double afterDelay) override;
    void pauseAnimation() override;
    void stopAnimation(bool withoutFinishing) override;
    void finishAnimation(UIKit::UIViewAnimatingPosition at) override;
    void continueAnimation(std::optional<UIKit::UITimingCurveProvider> withTimingParameters,
                           UIKit::CGFloat durationFactor) override;

    void addAnimations(std::function<void()> animation) override { transitionDriving()->addAnimations(std::move(animation)); }
    void addAnimations(std::function<void()> animation, UIKit::CGFloat delayFactor) override
    {
        transitionDriving()->addAnimations(std::move(animation), delayFactor);
    }
    void addCompletion(std::function<void(UIKit::UIViewAnimatingPosition)> completion) override
    {
        transitionDriving()->addCompletion(std::move(completion));
    }

protected:
    friend Foundation::Construct;
    // init(transitionDriving:additional:)
    Animators(std::shared_ptr<UIKit::UIViewPropertyAnimator> transitionDriving,
              std::vector<std::shared_ptr<UIKit::UIViewPropertyAnimator>> additional);

private:
    std::vector<std::shared_ptr<UIKit::UIViewPropertyAnimator>> m_all;
};

class AnimationController::Error : public Foundation::ErrorOf<AnimationController::Error>,
                                   public Foundation::Enumeration<AnimationController::Error> {
public:
    struct FailedWithMessage {
        Foundation::String message;
    };
    using Case = std::variant<FailedWithMessage>;

    static Error failedWithMessage(Foundation::String message) { return Error(FailedWithMessage {std::move(message)}); }

    const Case& value() const { return m_case; }
    std::string domain() const override { return "Basalwork.AnimationController.Error"; }
    std::int64_t code() const override { return index(); }
    std::string description() const override;

private:
    explicit Error(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Basalwork
