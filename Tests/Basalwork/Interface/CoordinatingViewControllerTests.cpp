#include "Platform/UIKit/UIView.AnimationRecorder.hpp"
#include "Basalwork/Interface/ChildEmbeddingViewController.hpp"
#include "Basalwork/Interface/CoordinatingNavigationController.hpp"
#include "Basalwork/Interface/CoordinatingSplitViewController.hpp"
#include "Basalwork/Interface/CoordinatingViewController.hpp"
#include "Basalwork/Interface/UIViewController.hpp"
#include "Basalwork/Interface/UIViewPropertyAnimator.hpp"
#include "Platform/UIKit/UINavigationItem.hpp"
#include "Platform/UIKit/UIView.hpp"
#include "Tests/Support/MainLoop.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace Basalwork;
using Foundation::make;
using TestSupport::advanceClock;
using TestSupport::runMainLoopUntilIdle;
using UIKit::UIInterfaceOrientationMask;

namespace {

class PortraitOnly : public UIKit::UIViewController {
public:
    UIInterfaceOrientationMask supportedInterfaceOrientations() const override { return UIInterfaceOrientationMask::portrait(); }

protected:
    friend Foundation::Construct;
    PortraitOnly() = default;
};

std::shared_ptr<ChildEmbeddingViewController> makeContainer()
{
    return make<ChildEmbeddingViewController>(std::nullopt, nullptr);
}

bool hasChild(const UIKit::UIViewController& parent, const std::shared_ptr<UIKit::UIViewController>& child)
{
    return std::find(parent.children().begin(), parent.children().end(), child) != parent.children().end();
}

} // namespace

TEST(ChildEmbeddingViewController, PendingChildIsShownWithoutFadeWhenTheViewLoadsAndAlreadyAnswersForIt)
{
    auto first = make<UIKit::UIViewController>();
    auto second = make<PortraitOnly>();
    auto coordinator = make<CoordinatingViewController>(first);
    coordinator->embed(second, true); // replaces the pending one: `first` is never embedded

    EXPECT_FALSE(coordinator->isViewLoaded());
    EXPECT_EQ(coordinator->supportedInterfaceOrientations(), UIInterfaceOrientationMask::portrait());
    EXPECT_EQ(coordinator->childForStatusBarStyle(), second);
    EXPECT_EQ(coordinator->navigationItem(), second->navigationItem());

    coordinator->loadViewIfNeeded();
    EXPECT_EQ(coordinator->children(), std::vector<std::shared_ptr<UIKit::UIViewController>> {second});
    EXPECT_EQ(second->view()->superview(), coordinator->view());
    EXPECT_EQ(second->view()->alpha(), 1.0);
    EXPECT_EQ(first->parent(), nullptr);
    EXPECT_EQ(coordinator->embeddedViewController(), second);
    runMainLoopUntilIdle();
    EXPECT_EQ(coordinator->children().size(), 1u);
}

TEST(ChildEmbeddingViewController, AnimatedSwapKeepsOldChildUntilTheFadeEnds)
{
    auto container = makeContainer();
    auto old = make<UIKit::UIViewController>();
    auto incoming = make<UIKit::UIViewController>();
    container->embed(old, false);
    int completions = 0;
    container->replaceCurrentlyEmbeddedVC(incoming, true, [&] {
        ++completions;
        EXPECT_EQ(container->embeddedViewController(), incoming);
    });

    // Mid-fade both are children and the old one is still current, underneath the new one.
    advanceClock(0.41);
    EXPECT_EQ(completions, 0);
    EXPECT_EQ(container->embeddedViewController(), old);
    EXPECT_TRUE(hasChild(*container, old));
    ASSERT_EQ(container->view()->subviews().size(), 2u);
    EXPECT_EQ(container->view()->subviews().back(), incoming->view());

    advanceClock(0.01);
    EXPECT_EQ(completions, 1);
    EXPECT_FALSE(hasChild(*container, old));
    EXPECT_EQ(old->view()->superview(), nullptr);
    EXPECT_EQ(container->view()->subviews(), std::vector<std::shared_ptr<UIKit::UIView>> {incoming->view()});
    runMainLoopUntilIdle();
    EXPECT_EQ(completions, 1);
}

// Records the containment calls a child receives.
class Child : public UIKit::UIViewController {
public:
    std::vector<std::string> calls;
    void willMove(const std::shared_ptr<UIKit::UIViewController>& toParent) override
    {
        calls.push_back(toParent ? "willMove" : "willMove(nil)");
    }
    void didMove(const std::shared_ptr<UIKit::UIViewController>& toParent) override
    {
        calls.push_back(toParent ? "didMove" : "didMove(nil)");
    }

protected:
    friend Foundation::Construct;
    Child() = default;
};

TEST(ChildEmbeddingViewController, TheFadeAsksForTheLinearCurve)
{
    UIKit::UIView::AnimationRecorder recorder;
    auto container = makeContainer();
    container->loadViewIfNeeded();
    container->embed(make<UIKit::UIViewController>(), true);
    EXPECT_EQ(recorder.last().options, UIKit::UIView::AnimationOptions::curveLinear());
    EXPECT_EQ(recorder.last().duration, 0.42);
    runMainLoopUntilIdle();
}

TEST(ChildEmbeddingViewController, ASwapDuringAFadeLeavesOnlyTheLastChild)
{
    for (bool lastAnimated : {true, false}) {
        auto container = makeContainer();
        auto first = make<Child>();
        auto middle = make<Child>();
        auto last = make<Child>();
        container->embed(first, false);
        std::vector<std::string> completions;
        container->replaceCurrentlyEmbeddedVC(middle, true, [&] { completions.push_back("middle"); });
        advanceClock(0.2);
        container->replaceCurrentlyEmbeddedVC(last, lastAnimated, [&] { completions.push_back("last"); });

        // The middle fade ends first; it must not make its child current over the newer one.
        advanceClock(0.3);
        if (lastAnimated) {
            EXPECT_EQ(container->embeddedViewController(), first);
        }
        advanceClock(1);
        EXPECT_EQ(completions, (std::vector<std::string> {"middle", "last"}));
        EXPECT_EQ(container->embeddedViewController(), last);
        EXPECT_EQ(container->children(), std::vector<std::shared_ptr<UIKit::UIViewController>> {last});
        EXPECT_EQ(container->view()->subviews(), std::vector<std::shared_ptr<UIKit::UIView>> {last->view()});
        EXPECT_EQ(last->view()->alpha(), 1.0);
        for (const auto& gone : {first, middle}) {
            EXPECT_EQ(gone->parent(), nullptr);
            EXPECT_EQ(gone->view()->superview(), nullptr);
            EXPECT_EQ(std::count(gone->calls.begin(), gone->calls.end(), "willMove(nil)"), 1);
            EXPECT_EQ(gone->calls.back(), "didMove(nil)");
        }
        EXPECT_EQ(std::count(middle->calls.begin(), middle->calls.end(), "didMove"), 0);
        EXPECT_EQ(last->calls.back(), "didMove");
    }
}

TEST(ChildEmbeddingViewController, SwappingInTheShownChildKeepsIt)
{
    auto container = makeContainer();
    auto shown = make<Child>();
    container->embed(shown, false);
    for (bool animated : {false, true}) {
        bool completed = false;
        container->replaceCurrentlyEmbeddedVC(shown, animated, [&] { completed = true; });
        EXPECT_TRUE(completed);
        EXPECT_EQ(container->embeddedViewController(), shown);
        EXPECT_EQ(container->view()->subviews(), std::vector<std::shared_ptr<UIKit::UIView>> {shown->view()});
        EXPECT_EQ(shown->view()->alpha(), 1.0);
    }
    runMainLoopUntilIdle();
    EXPECT_EQ(container->children(), std::vector<std::shared_ptr<UIKit::UIViewController>> {shown});

    // Called back while another fades in: the other leaves and the shown one stays, on top.
    auto other = make<Child>();
    container->replaceCurrentlyEmbeddedVC(other, true, nullptr);
    container->replaceCurrentlyEmbeddedVC(shown, true, nullptr);
    EXPECT_EQ(container->view()->subviews().back(), shown->view());
    advanceClock(1);
    EXPECT_EQ(container->embeddedViewController(), shown);
    EXPECT_EQ(container->children(), std::vector<std::shared_ptr<UIKit::UIViewController>> {shown});
    EXPECT_EQ(container->view()->subviews(), std::vector<std::shared_ptr<UIKit::UIView>> {shown->view()});
    EXPECT_EQ(other->parent(), nullptr);
    EXPECT_EQ(shown->calls.back(), "didMove");
}

TEST(ChildEmbeddingViewController, UnanimatedSwapCompletesBeforeReturningAndPinsTheChild)
{
    auto container = makeContainer();
    auto child = make<UIKit::UIViewController>();
    bool completed = false;
    container->replaceCurrentlyEmbeddedVC(child, false, [&] { completed = true; });
    EXPECT_TRUE(completed);
    EXPECT_FALSE(child->view()->translatesAutoresizingMaskIntoConstraints());
    EXPECT_EQ(container->view()->constraints().size(), 4u);
    for (const auto& constraint : container->view()->constraints()) {
        EXPECT_TRUE(constraint->isActive());
        EXPECT_EQ(constraint->priority().rawValue, 999);
    }
}

TEST(ChildEmbeddingViewController, ForwardingFallsBackToItselfWithoutAChild)
{
    auto container = makeContainer();
    EXPECT_EQ(container->childForStatusBarStyle(), nullptr);
    container->setDefinesPresentationContext(true);
    EXPECT_TRUE(container->definesPresentationContext());
    auto ownItem = container->navigationItem();

    auto child = make<UIKit::UIViewController>();
    container->embed(child, false);
    EXPECT_FALSE(container->definesPresentationContext());
    container->setDefinesPresentationContext(true);
    EXPECT_TRUE(child->definesPresentationContext());
    EXPECT_NE(container->navigationItem(), ownItem);
}

TEST(CoordinatingNavigationController, StartsWithTheRootAsOnlyChild)
{
    auto root = make<UIKit::UIViewController>();
    auto navigation = make<CoordinatingNavigationController>(root);
    EXPECT_EQ(navigation->viewControllers(), std::vector<std::shared_ptr<UIKit::UIViewController>> {root});
    EXPECT_EQ(root->navigationController(), navigation);
    EXPECT_EQ(navigation->popViewController(false), nullptr);
}

TEST(UIViewControllerAdditions, TopMostPresentedSkipsControllersOnTheirWayOut)
{
    auto a = make<UIKit::UIViewController>();
    auto b = make<UIKit::UIViewController>();
    auto c = make<UIKit::UIViewController>();
    a->present(b, false);
    b->present(c, false);
    runMainLoopUntilIdle();
    EXPECT_EQ(topMostPresentedVC(*a), c);

    c->dismiss(false);
    EXPECT_EQ(topMostPresentedVC(*a), b);
    runMainLoopUntilIdle();
    b->present(c, false);
    runMainLoopUntilIdle();

    b->dismiss(true); // dismisses c: b presents it
    a->dismiss(false); // b and what it shows leave
    EXPECT_EQ(topMostPresentedVC(*a), nullptr);
    EXPECT_EQ(topMostPresentedVCOrSelf(*a), a);
    runMainLoopUntilIdle();
}

TEST(UIViewControllerAdditions, SplitViewQueriesAreFalseOutsideOne)
{
    auto loose = make<UIKit::UIViewController>();
    EXPECT_FALSE(isBeingDisplayedInExpandedSplitView(*loose));
    EXPECT_FALSE(isBeingDisplayedInCollapsedSplitView(*loose));

    auto split = make<CoordinatingSplitViewController>(UIKit::UISplitViewController::Style::doubleColumn);
    auto child = make<UIKit::UIViewController>();
    split->setViewController(child, UIKit::UISplitViewController::Column::secondary);
    EXPECT_TRUE(isBeingDisplayedInExpandedSplitView(*child));
    split->setIsCollapsed(true);
    EXPECT_TRUE(isBeingDisplayedInCollapsedSplitView(*child));
}

TEST(UIViewControllerAdditions, EmbedIntoSubviewHandsOverConstraintsBeforeDidMove)
{
    class Child : public UIKit::UIViewController {
    public:
        bool moved = false;
        void didMove(const std::shared_ptr<UIKit::UIViewController>& parent) override { moved = parent != nullptr; }

    protected:
        friend Foundation::Construct;
        Child() = default;
    };
    auto host = make<UIKit::UIViewController>();
    auto slot = make<UIKit::UIView>();
    host->view()->addSubview(slot);
    auto child = make<Child>();
    bool sawConstraints = false;
    embed(*host, child, *slot, [&](const EdgeConstraints& constraints) {
        sawConstraints = constraints.top()->isActive() && !child->moved;
    });
    EXPECT_TRUE(sawConstraints);
    EXPECT_TRUE(child->moved);
    EXPECT_EQ(child->view()->superview(), slot);
}

TEST(UIViewPropertyAnimatorAdditions, AnimationStateFollowsTheAnimatorsLife)
{
    auto animator = make<UIKit::UIViewPropertyAnimator>(1.0, UIKit::UITimingCurveProvider::Curve::linear, [] {});
    EXPECT_EQ(animationState(*animator), UIViewPropertyAnimator::AnimationState::readyForAnimations);
    animator->startAnimation();
    EXPECT_EQ(animationState(*animator), UIViewPropertyAnimator::AnimationState::running);
    animator->pauseAnimation();
    EXPECT_EQ(animationState(*animator), UIViewPropertyAnimator::AnimationState::paused);
    animator->stopAnimation(false);
    EXPECT_EQ(animationState(*animator), UIViewPropertyAnimator::AnimationState::finished);
    animator->finishAnimation(UIKit::UIViewAnimatingPosition::start);
    runMainLoopUntilIdle();
}
