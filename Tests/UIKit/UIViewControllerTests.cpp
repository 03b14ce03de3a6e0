#include "Platform/Foundation/Logger.hpp"
#include "Platform/UIKit/UIPopoverPresentationController.hpp"
#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIViewController.hpp"
#include "Tests/Support/MainLoop.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace UIKit;
using Foundation::make;
using TestSupport::runMainLoopUntilIdle;

namespace {

// Records the lifecycle calls it receives, in order.
class Recording : public UIViewController {
public:
    std::vector<std::string> calls;

    void loadView() override
    {
        calls.push_back("loadView");
        UIViewController::loadView();
    }
    void viewDidLoad() override { calls.push_back("viewDidLoad"); }
    void viewWillLayoutSubviews() override { calls.push_back("viewWillLayoutSubviews"); }
    void viewDidLayoutSubviews() override { calls.push_back("viewDidLayoutSubviews"); }
    void willMove(const std::shared_ptr<UIViewController>& toParent) override
    {
        calls.push_back(toParent ? "willMove" : "willMove(nil)");
    }
    void didMove(const std::shared_ptr<UIViewController>& toParent) override
    {
        calls.push_back(toParent ? "didMove" : "didMove(nil)");
    }

protected:
    friend Foundation::Construct;
    Recording() = default;
};

class Viewless : public UIViewController {
public:
    void loadView() override {}

protected:
    friend Foundation::Construct;
    Viewless() = default;
};

using Calls = std::vector<std::string>;

class RecordingView : public UIView {
public:
    std::vector<std::string>* calls = nullptr;
    void layoutSubviews() override
    {
        UIView::layoutSubviews();
        calls->push_back("layoutSubviews");
    }

protected:
    friend Foundation::Construct;
    RecordingView() = default;
};

} // namespace

TEST(UIViewController, HearsAroundEachLayoutOfItsViewAndOnlyItsOwn)
{
    auto controller = make<Recording>();
    auto view = make<RecordingView>();
    view->calls = &controller->calls;
    auto inner = make<RecordingView>();
    inner->calls = &controller->calls;
    view->addSubview(inner);
    controller->setView(view);
    view->layoutIfNeeded();
    EXPECT_EQ(controller->calls, (Calls {"viewWillLayoutSubviews", "layoutSubviews", "viewDidLayoutSubviews", "layoutSubviews"}));

    controller->calls.clear();
    inner->setNeedsLayout();
    view->layoutIfNeeded();
    EXPECT_EQ(controller->calls, (Calls {"layoutSubviews"}));

    // A view handed to another controller reports there only.
    auto other = make<Recording>();
    other->setView(view);
    controller->setView(make<UIView>());
    controller->calls.clear();
    view->setNeedsLayout();
    view->layoutIfNeeded();
    EXPECT_EQ(other->calls, (Calls {"viewWillLayoutSubviews", "viewDidLayoutSubviews"}));
}

TEST(UIViewController, LoadsItsViewOnceOnFirstUseAndNotForItsTraits)
{
    auto controller = make<Recording>();
    EXPECT_EQ(controller->traitCollection(), UITraitCollection {});
    EXPECT_FALSE(controller->isViewLoaded());

    auto view = controller->view();
    controller->loadViewIfNeeded();
    EXPECT_EQ(controller->view(), view);
    EXPECT_EQ(controller->calls, (Calls {"loadView", "viewDidLoad"}));
}

TEST(UIViewControllerDeathTest, ALoadViewThatSetsNoViewStops)
{
    auto controller = make<Viewless>();
    EXPECT_DEATH(controller->loadViewIfNeeded(), "loadView\\(\\) did not set the controller's view");
}

TEST(UIViewController, ChildrenMoveBetweenParentsWithTheirAnnouncements)
{
    auto first = make<UIViewController>();
    auto second = make<UIViewController>();
    auto child = make<Recording>();

    first->addChild(child);
    first->addChild(child); // already there: nothing happens
    second->addChild(child);
    EXPECT_TRUE(first->children().empty());
    EXPECT_EQ(second->children(), (std::vector<std::shared_ptr<UIViewController>> {child}));
    EXPECT_EQ(child->parent(), second);
    // Moving to a new parent leaves the old one first.
    EXPECT_EQ(child->calls, (Calls {"willMove", "didMove(nil)", "willMove"}));

    std::weak_ptr<Recording> weakChild = child;
    child->removeFromParent();
    EXPECT_EQ(child->parent(), nullptr);
    EXPECT_TRUE(second->children().empty());
    child.reset();
    EXPECT_TRUE(weakChild.expired()); // the parent no longer holds it
}

class Presentation : public testing::Test {
protected:
    std::shared_ptr<UIViewController> a = make<UIViewController>();
    std::shared_ptr<UIViewController> b = make<UIViewController>();
    std::shared_ptr<UIViewController> c = make<UIViewController>();
    Calls completions;

    void TearDown() override { runMainLoopUntilIdle(); }

    std::function<void()> completion(std::string name)
    {
        return [this, name] { completions.push_back(name); };
    }
};

TEST_F(Presentation, TakesEffectAtOnceAndCompletesOnALaterTurn)
{
    a->present(b, true, completion("presented"));
    EXPECT_EQ(a->presentedViewController(), b);
    EXPECT_EQ(b->presentingViewController(), a);
    EXPECT_TRUE(b->isBeingPresented());
    EXPECT_TRUE(b->isViewLoaded());
    EXPECT_TRUE(completions.empty());

    runMainLoopUntilIdle();
    EXPECT_FALSE(b->isBeingPresented());
    EXPECT_EQ(completions, (Calls {"presented"}));

    // The presented controller may dismiss itself; it leaves only when the transition is over.
    b->dismiss(false, completion("dismissed"));
    EXPECT_TRUE(b->isBeingDismissed());
    EXPECT_EQ(a->presentedViewController(), b);
    runMainLoopUntilIdle();
    EXPECT_EQ(a->presentedViewController(), nullptr);
    EXPECT_EQ(b->presentingViewController(), nullptr);
    EXPECT_FALSE(b->isBeingDismissed());
    EXPECT_EQ(completions, (Calls {"presented", "dismissed"}));
}

TEST_F(Presentation, DismissingTakesEverythingPresentedAboveAlong)
{
    a->present(b, false);
    b->present(c, false);
    runMainLoopUntilIdle();

    a->dismiss(true, completion("dismissed"));
    EXPECT_TRUE(b->isBeingDismissed());
    EXPECT_TRUE(c->isBeingDismissed());
    runMainLoopUntilIdle();
    EXPECT_EQ(a->presentedViewController(), nullptr);
    EXPECT_EQ(b->presentedViewController(), nullptr);
    EXPECT_EQ(c->presentingViewController(), nullptr);
    EXPECT_EQ(completions, (Calls {"dismissed"}));

    // Nothing left to dismiss: the completion still comes, never inside the call.
    a->dismiss(false, completion("nothing"));
    EXPECT_EQ(completions, (Calls {"dismissed"}));
    runMainLoopUntilIdle();
    EXPECT_EQ(completions, (Calls {"dismissed", "nothing"}));
}

TEST_F(Presentation, ASecondPresentationIsDroppedAndLogged)
{
    std::vector<Foundation::LogRecord> records;
    auto previous = Foundation::Logger::setCaptureSink(
        [&](const Foundation::LogRecord& record) { records.push_back(record); });
    a->present(b, false);
    a->present(c, false, completion("second"));
    runMainLoopUntilIdle();
    Foundation::Logger::setCaptureSink(previous);

    EXPECT_EQ(a->presentedViewController(), b);
    EXPECT_EQ(c->presentingViewController(), nullptr);
    EXPECT_TRUE(completions.empty());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].type, Foundation::OSLogType::error);
}

TEST(UIViewControllerDeathTest, PresentingWhatIsAlreadyPresentedStops)
{
    auto a = make<UIViewController>();
    auto b = make<UIViewController>();
    a->present(b, false);
    EXPECT_DEATH(make<UIViewController>()->present(b, false), "already presented");
    EXPECT_DEATH(a->present(a, false), "on itself");
    runMainLoopUntilIdle();
}

TEST(UIViewController, HasAPopoverControllerOnlyWhilePresentedAsAPopover)
{
    auto controller = make<UIViewController>();
    EXPECT_EQ(controller->modalPresentationStyle(), UIModalPresentationStyle::automatic);
    EXPECT_EQ(controller->popoverPresentationController(), nullptr);

    controller->setModalPresentationStyle(UIModalPresentationStyle::popover);
    auto popover = controller->popoverPresentationController();
    ASSERT_NE(popover, nullptr);
    EXPECT_EQ(popover->presentedViewController(), controller);
    popover->setSourceRect({1, 2, 3, 4});

    // The anchor set on it survives a change of style and back.
    controller->setModalPresentationStyle(UIModalPresentationStyle::formSheet);
    EXPECT_EQ(controller->popoverPresentationController(), nullptr);
    controller->setModalPresentationStyle(UIModalPresentationStyle::popover);
    EXPECT_EQ(controller->popoverPresentationController(), popover);
}
