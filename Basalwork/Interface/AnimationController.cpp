#include "Basalwork/Interface/AnimationController.hpp"

#include "Basalwork/Base/CommandLine.hpp"

#include "Platform/Foundation/Describe.hpp"
#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/Logger.hpp"

namespace Basalwork {
namespace {

constexpr double fadeDuration = 0.42;

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("Basalwork", "default");
    return logger;
}

} // namespace

double AnimationController::transitionDuration(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>&)
{
    return fadeDuration;
}

void AnimationController::animateTransition(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& using_)
{
    auto animators = m_animators ? m_animators : makeAndStoreAnimators(using_);
    animators->startAnimation();
}

std::shared_ptr<UIKit::UIViewImplicitlyAnimating>
AnimationController::interruptibleAnimator(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& using_)
{
    return m_animators ? m_animators : makeAndStoreAnimators(using_);
}

std::shared_ptr<AnimationController::Animators>
AnimationController::makeAnimators(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>&)
{
    Foundation::fatalError("Not yet implemented.");
}

std::shared_ptr<AnimationController::Animators>
AnimationController::makeFallbackAnimators(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>&)
{
    Foundation::fatalError("Not yet implemented.");
}

std::shared_ptr<AnimationController::Animators>
AnimationController::makeAndStoreAnimators(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& context)
{
    auto error = Foundation::catchError([&] {
        if (CommandLine::option("--test-fallback-animators"))
            throw Error::failedWithMessage("Testing fallback animators");
        m_animators = makeAnimators(context);
    });
    if (!error)
        return m_animators;
    log().error("Failed to make animators with error: %{public}@", error->description());
    m_animators = makeFallbackAnimators(context);
    return m_animators;
}

AnimationController::Animators::Animators(std::shared_ptr<UIKit::UIViewPropertyAnimator> transitionDriving,
                                          std::vector<std::shared_ptr<UIKit::UIViewPropertyAnimator>> additional)
{
    Foundation::precondition(transitionDriving != nullptr, "A group of animators needs a driving animator");
    m_all.push_back(std::move(transitionDriving));
    m_all.insert(m_all.end(), additional.begin(), additional.end());
}

void AnimationController::Animators::setIsReversed(bool reversed)
{
    for (const auto& animator : m_all)
        animator->setIsReversed(reversed);
}

void AnimationController::Animators::setFractionComplete(UIKit::CGFloat fraction)
{
    for (const auto& animator : m_all)
        animator->setFractionComplete(fraction);
}

void AnimationController::Animators::startAnimation()
{
    for (const auto& animator : m_all)
        animator->startAnimation();
}

void AnimationController::Animators::startAnimation(double afterDelay)
{
    for (const auto& animator : m_all)
        animator->startAnimation(afterDelay);
}

void AnimationController::Animators::pauseAnimation()
{
    for (const auto& animator : m_all)
        animator->pauseAnimation();
}

void AnimationController::Animators::stopAnimation(bool withoutFinishing)
{
    for (const auto& animator : m_all)
        animator->stopAnimation(withoutFinishing);
}

void AnimationController::Animators::finishAnimation(UIKit::UIViewAnimatingPosition at)
{
    for (const auto& animator : m_all)
        animator->finishAnimation(at);
}

void AnimationController::Animators::continueAnimation(std::optional<UIKit::UITimingCurveProvider> withTimingParameters,
                                                       UIKit::CGFloat durationFactor)
{
    for (const auto& animator : m_all)
        animator->continueAnimation(withTimingParameters, durationFactor);
}

std::string AnimationController::Error::description() const
{
    return "failedWithMessage(" + Foundation::debugQuoted(std::get<FailedWithMessage>(m_case).message.view()) + ")";
}

} // namespace Basalwork
