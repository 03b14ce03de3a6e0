#include "Basalwork/Interface/AnimationUpdateReportingPropertyAnimator.hpp"
#include "Basalwork/Interface/FloatingPresentationController.hpp"
#include "Basalwork/Interface/HorizontalFlipTransitioningManager.hpp"
#include "Platform/UIKit/CALayer.hpp"
#include "Platform/UIKit/UIEventDriver.hpp"
#include "Platform/UIKit/UIModalPresentationStyle.hpp"
#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIViewController.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Tests/Support/MainLoop.hpp"

#include <gtest/gtest.h>
#include <numbers>

using namespace Basalwork;
using Foundation::make;
using TestSupport::advanceClock;
using TestSupport::runMainLoopUntilIdle;
using UIKit::CGRect;

namespace {

constexpr double frame = 1.0 / 60.0;

// Supplies a floating presentation and no animation.
class FloatingDelegate : public Foundation::NSObject, public UIKit::UIViewControllerTransitioningDelegate {
public:
    UIKit::CGSize size;
    std::shared_ptr<UIKit::UIPresentationController>
    presentationController(const std::shared_ptr<UIKit::UIViewController>& presented,
                           const std::shared_ptr<UIKit::UIViewController>& presenting,
                           const std::shared_ptr<UIKit::UIViewController>&) override
    {
        return make<FloatingPresentationController>(presented, presenting, size);
    }

protected:
    friend Foundation::Construct;
    explicit FloatingDelegate(UIKit::CGSize size)
        : size(size)
    {
    }
};

struct Screen {
    std::shared_ptr<UIKit::UIWindow> window = make<UIKit::UIWindow>(CGRect {0, 0, 400, 600});
    std::shared_ptr<UIKit::UIViewController> root = make<UIKit::UIViewController>();
    std::shared_ptr<UIKit::UIViewController> panel = make<UIKit::UIViewController>();

    Screen()
    {
        window->makeKeyAndVisible();
        root->view()->setFrame(window->bounds());
        window->addSubview(root->view());
        panel->setModalPresentationStyle(UIKit::UIModalPresentationStyle::custom);
    }
};

bool isIn(const std::shared_ptr<UIKit::UIView>& view, const std::shared_ptr<UIKit::UIView>& container)
{
    return view->superview() == container;
}

} // namespace

TEST(FloatingPresentationController, CentresThePanelAndDismissesOnATapOutsideOnly)
{
    Screen screen;
    auto delegate = make<FloatingDelegate>(UIKit::CGSize {200, 100});
    screen.panel->setTransitioningDelegate(delegate);
    bool presented = false;
    screen.root->present(screen.panel, false, [&] { presented = true; });
    runMainLoopUntilIdle();
    ASSERT_TRUE(presented);

    auto presentation = std::dynamic_pointer_cast<FloatingPresentationController>(screen.panel->presentationController());
    ASSERT_NE(presentation, nullptr);
    auto container = presentation->containerView();
    EXPECT_EQ(screen.panel->view()->frame(), (CGRect {100, 250, 200, 100}));
    EXPECT_EQ(container->subviews().front(), presentation->backgroundTapTargetView());
    EXPECT_EQ(presentation->backgroundTapTargetView()->frame(), (CGRect {0, 0, 400, 600}));

    UIKit::UIEventDriver::tap(screen.window, {150, 300}); // on the panel
    runMainLoopUntilIdle();
    EXPECT_EQ(screen.root->presentedViewController(), screen.panel);

    UIKit::UIEventDriver::tap(screen.window, {20, 20});
    runMainLoopUntilIdle();
    EXPECT_EQ(screen.root->presentedViewController(), nullptr);
    EXPECT_NE(screen.panel->presentationController(), presentation); // the next presentation gets its own
    EXPECT_EQ(container->superview(), nullptr);
}

TEST(FloatingPresentationController, PanelLargerThanTheContainerOverhangsEquallyAndNoContainerGivesZero)
{
    Screen screen;
    auto presentation = make<FloatingPresentationController>(screen.panel, screen.root, UIKit::CGSize {500, 700});
    EXPECT_EQ(presentation->frameOfPresentedViewInContainerView(), CGRect {});

    auto kept = make<FloatingDelegate>(UIKit::CGSize {500, 700});
    screen.panel->setTransitioningDelegate(kept);
    screen.root->present(screen.panel, false);
    runMainLoopUntilIdle();
    EXPECT_EQ(screen.panel->view()->frame(), (CGRect {-50, -50, 500, 700}));
}

TEST(AnimationUpdateReportingPropertyAnimator, ReportsEachFrameWhileRunningAndReleasesTheLinkWhenStopped)
{
    auto animator = make<AnimationUpdateReportingPropertyAnimator>(1.0, UIKit::UITimingCurveProvider::cubic(
                                                                            UIKit::UITimingCurveProvider::Curve::linear));
    int reports = 0;
    animator->addAnimationDidUpdate([&] { ++reports; });
    animator->startAnimation();
    EXPECT_TRUE(animator->hasDisplayLink());
    advanceClock(3 * frame + frame / 2);
    EXPECT_EQ(reports, 3);

    // A frame that finds the animator stopped reports one last time and lets go of everything.
    animator->pauseAnimation();
    animator->UIViewPropertyAnimator::stopAnimation(false);
    animator->displayWillUpdate();
    EXPECT_EQ(reports, 4);
    EXPECT_FALSE(animator->hasDisplayLink());
    animator->displayWillUpdate();
    EXPECT_EQ(reports, 4);

    animator->finishAnimation(UIKit::UIViewAnimatingPosition::end);
    animator->startAnimation();
    animator->stopAnimation(true);
    EXPECT_FALSE(animator->hasDisplayLink());
    advanceClock(1);
    EXPECT_EQ(reports, 4);
}

namespace {

struct Flip : Screen {
    std::shared_ptr<UIKit::UIView> source = make<UIKit::UIView>(CGRect {20, 40, 60, 30});
    std::shared_ptr<HorizontalFlipTransitioningManager> manager;

    Flip()
    {
        root->view()->addSubview(source);
        manager = make<HorizontalFlipTransitioningManager>(root, source, panel, UIKit::CGSize {200, 100});
        panel->setTransitioningDelegate(manager);
    }

    std::vector<std::shared_ptr<UIKit::UIView>> snapshots() const
    {
        std::vector<std::shared_ptr<UIKit::UIView>> found;
        for (const auto& view : panel->presentationController()->containerView()->subviews()) {
            if (view != panel->view() && view != std::static_pointer_cast<FloatingPresentationController>(
                                                      panel->presentationController())->backgroundTapTargetView())
                found.push_back(view);
        }
        return found;
    }
};

int visibleCount(const std::vector<std::shared_ptr<UIKit::UIView>>& views)
{
    int visible = 0;
    for (const auto& view : views)
        visible += view->alpha() == 1 ? 1 : 0;
    return visible;
}

} // namespace

TEST(HorizontalFlipTransitioningManager, FlipsThePanelInAndBackShowingOneFaceAtATime)
{
    Flip flip;
    bool presented = false;
    flip.root->present(flip.panel, true, [&] { presented = true; });
    auto snapshots = flip.snapshots();
    ASSERT_EQ(snapshots.size(), 2u);
    EXPECT_EQ(flip.source->alpha(), 0);
    EXPECT_EQ(flip.panel->presentationController()->containerView()->layer()->sublayerTransform().m34, -0.002);
    for (int i = 0; i < 10; ++i) {
        advanceClock(frame);
        EXPECT_EQ(visibleCount(snapshots), 1);
    }
    // The face turning away shows until it passes edge-on.
    auto& away = snapshots[0];
    away->layer()->setTransform(UIKit::CATransform3D::rotation(-80 * std::numbers::pi / 180, 0, 1, 0));
    advanceClock(frame);
    EXPECT_EQ(away->alpha(), 1);
    EXPECT_EQ(snapshots[1]->alpha(), 0);
    away->layer()->setTransform(UIKit::CATransform3D::rotation(-100 * std::numbers::pi / 180, 0, 1, 0));
    advanceClock(frame);
    EXPECT_EQ(away->alpha(), 0);
    EXPECT_EQ(snapshots[1]->alpha(), 1);

    advanceClock(1);
    EXPECT_TRUE(presented);
    auto container = flip.panel->presentationController()->containerView();
    EXPECT_TRUE(isIn(flip.panel->view(), container));
    EXPECT_EQ(flip.panel->view()->frame(), (CGRect {100, 250, 200, 100}));
    EXPECT_EQ(flip.snapshots().size(), 0u);
    EXPECT_EQ(flip.source->alpha(), 0); // stays hidden while the panel is up

    bool dismissed = false;
    flip.root->dismiss(true, [&] { dismissed = true; });
    EXPECT_EQ(flip.panel->view()->superview(), nullptr);
    EXPECT_EQ(flip.snapshots().size(), 2u);
    advanceClock(1);
    EXPECT_TRUE(dismissed);
    EXPECT_EQ(flip.source->alpha(), 1);
    EXPECT_EQ(flip.root->presentedViewController(), nullptr);
    EXPECT_EQ(container->superview(), nullptr);
}

TEST(HorizontalFlipTransitioningManager, SourceGoneStillCompletesBothTransitions)
{
    Flip flip;
    flip.source->removeFromSuperview();
    flip.source.reset();
    bool presented = false;
    flip.root->present(flip.panel, true, [&] { presented = true; });
    runMainLoopUntilIdle();
    EXPECT_TRUE(presented);
    EXPECT_NE(flip.panel->view()->superview(), nullptr);

    bool dismissed = false;
    flip.root->dismiss(true, [&] { dismissed = true; });
    runMainLoopUntilIdle();
    EXPECT_TRUE(dismissed);
    EXPECT_EQ(flip.root->presentedViewController(), nullptr);
}
