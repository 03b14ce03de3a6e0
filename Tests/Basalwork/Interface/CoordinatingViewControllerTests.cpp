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
