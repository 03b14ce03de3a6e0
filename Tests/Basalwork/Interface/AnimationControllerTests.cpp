#include "Basalwork/Interface/FadeInAnimationController.hpp"
#include "Basalwork/Interface/FadeOutAnimationController.hpp"
#include "Basalwork/Interface/TransitionContextError.hpp"
#include "Basalwork/Interface/UIViewControllerContextTransitioning.hpp"
#include "Platform/Foundation/CommandLine.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIViewController.hpp"
#include "Tests/Support/MainLoop.hpp"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

using namespace Basalwork;
using Foundation::make;
using TestSupport::advanceClock;
using TestSupport::runMainLoopUntilIdle;

namespace {

// A transition context that records how the transition was completed.
class Context : public UIKit::UIViewControllerContextTransitioning {
public:
    std::shared_ptr<UIKit::UIView> container = make<UIKit::UIView>();
    std::shared_ptr<UIKit::UIView> fromView;
    std::shared_ptr<UIKit::UIView> toView;
    bool cancelled = false;
    std::vector<bool> completions;

    std::shared_ptr<UIKit::UIView> containerView() const override { return container; }
    std::shared_ptr<UIKit::UIView> view(const UIKit::UITransitionContextViewKey& key) const override
    {
        return key == UIKit::UITransitionContextViewKey::to() ? toView : fromView;
    }
    std::shared_ptr<UIKit::UIViewController> viewController(const UIKit::UITransitionContextViewControllerKey&) const override
    {
        return nullptr;
    }
    UIKit::CGRect initialFrame(const UIKit::UIViewController&) const override { return {}; }
    UIKit::CGRect finalFrame(const UIKit::UIViewController&) const override { return {}; }
    bool transitionWasCancelled() const override { return cancelled; }
    void completeTransition(bool didComplete) override { completions.push_back(didComplete); }
};

// Counts how often the preferred animators are built.
class CountingFadeIn : public FadeInAnimationController {
public:
    int built = 0;
    std::shared_ptr<Animators> makeAnimators(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& context) override
    {
        ++built;
        return FadeInAnimationController::makeAnimators(context);
    }

protected:
    friend Foundation::Construct;
    CountingFadeIn() = default;
};

struct CapturedLog {
    std::vector<std::string> messages;
    Foundation::Logger::Sink previous;
    CapturedLog()
    {
        previous = Foundation::Logger::setCaptureSink([this](const Foundation::LogRecord& record) { messages.push_back(record.message); });
    }
    ~CapturedLog() { Foundation::Logger::setCaptureSink(previous); }
};

} // namespace

TEST(FadeAnimationControllers, BuildAnimatorsOnceAndCompleteAfterTheFade)
{
    auto context = std::make_shared<Context>();
    context->toView = make<UIKit::UIView>();
    auto controller = make<CountingFadeIn>();
    auto interruptible = controller->interruptibleAnimator(context);
    controller->animateTransition(context);
    EXPECT_EQ(controller->interruptibleAnimator(context), interruptible);
    EXPECT_EQ(controller->built, 1);
    EXPECT_EQ(context->toView->superview(), context->container);
    EXPECT_EQ(context->toView->alpha(), 1.0);

    advanceClock(0.41);
    EXPECT_TRUE(context->completions.empty());
    advanceClock(0.01);
    EXPECT_EQ(context->completions, std::vector<bool> {true});
}

TEST(FadeAnimationControllers, InterruptedAtTheStartOrCancelledCompletesAsNotFinished)
{
    auto context = std::make_shared<Context>();
    context->fromView = make<UIKit::UIView>();
    auto controller = make<FadeOutAnimationController>();
    auto animators = controller->interruptibleAnimator(context);
    animators->pauseAnimation();
    animators->stopAnimation(false);
    animators->finishAnimation(UIKit::UIViewAnimatingPosition::start);
    EXPECT_EQ(context->completions, std::vector<bool> {false});

    auto cancelled = std::make_shared<Context>();
    cancelled->fromView = make<UIKit::UIView>();
    cancelled->cancelled = true;
    make<FadeOutAnimationController>()->animateTransition(cancelled);
    advanceClock(0.42);
    EXPECT_EQ(cancelled->completions, std::vector<bool> {false});
}

TEST(FadeAnimationControllers, MissingViewFallsBackAndStillCompletes)
{
    CapturedLog log;
    auto context = std::make_shared<Context>();
    make<FadeInAnimationController>()->animateTransition(context);
    ASSERT_EQ(log.messages.size(), 1u);
    EXPECT_NE(log.messages[0].find("Failed to make animators with error: failedToAccessViewForKey(viewType: \"UIView\", key: \"toView\")"),
              std::string::npos);
    advanceClock(0.42);
    EXPECT_EQ(context->completions, std::vector<bool> {true});
}

TEST(FadeAnimationControllers, LaunchOptionSkipsThePreferredAnimators)
{
    CapturedLog log;
    auto arguments = Foundation::CommandLine::arguments();
    auto withOption = arguments;
    withOption.push_back("--test-fallback-animators");
    Foundation::CommandLine::setArguments(withOption);
    auto context = std::make_shared<Context>();
    context->toView = make<UIKit::UIView>();
    auto controller = make<CountingFadeIn>();
    controller->animateTransition(context);
    Foundation::CommandLine::setArguments(arguments);

    EXPECT_EQ(controller->built, 0);
    ASSERT_EQ(log.messages.size(), 1u);
    EXPECT_NE(log.messages[0].find("Testing fallback animators"), std::string::npos);
    runMainLoopUntilIdle();
    advanceClock(0.42);
    EXPECT_EQ(context->completions, std::vector<bool> {true});
}

TEST(TransitionContextAdditions, WrongControllerTypeNamesTheTypeAndKey)
{
    Context context;
    try {
        viewController<UIKit::UIViewController>(context, UIKit::UITransitionContextViewControllerKey::from());
        FAIL() << "expected an error";
    } catch (const TransitionContextError& error) {
        auto failure = error.as<TransitionContextError::FailedToAccessViewControllerForKey>();
        ASSERT_NE(failure, nullptr);
        EXPECT_EQ(failure->viewControllerType, "UIViewController");
        EXPECT_EQ(failure->key, "UITransitionContextFromViewController");
    }
}
