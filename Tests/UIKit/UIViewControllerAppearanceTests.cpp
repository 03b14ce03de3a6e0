#include "Platform/UIKit/UIAdaptivePresentationControllerDelegate.hpp"
#include "Platform/UIKit/UIEventDriver.hpp"
#include "Platform/UIKit/UIPopoverPresentationController.hpp"
#include "Platform/UIKit/UIPopoverPresentationControllerDelegate.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UITouch.hpp"
#include "Platform/UIKit/UIViewController.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"
#include "Tests/Support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace UIKit;
using Foundation::make;
using TestSupport::runMainLoopUntilIdle;

namespace {

std::vector<std::string> g_log;

// Logs its appearance calls under its name, and can take focus.
class Screen : public UIViewController {
public:
    std::string name;
    bool focusable = false;

    void viewWillAppear(bool) override { g_log.push_back(name + ".willAppear"); }
    void viewDidAppear(bool) override { g_log.push_back(name + ".didAppear"); }
    void viewWillDisappear(bool) override { g_log.push_back(name + ".willDisappear"); }
    void viewDidDisappear(bool) override { g_log.push_back(name + ".didDisappear"); }
    bool canBecomeFirstResponder() const override { return focusable; }

protected:
    friend Foundation::Construct;
    explicit Screen(std::string screenName)
        : name(std::move(screenName))
    {
    }
};

class Dismissals : public Foundation::NSObject, public UIPopoverPresentationControllerDelegate {
public:
    bool allow = true;
    std::optional<UIModalPresentationStyle> adapt;
    std::vector<std::string> heard;

    std::optional<UIModalPresentationStyle> adaptivePresentationStyle(UIPresentationController&, const UITraitCollection&) override
    {
        return adapt;
    }
    bool presentationControllerShouldDismiss(UIPresentationController&) override
    {
        heard.push_back("should");
        return allow;
    }
    void presentationControllerWillDismiss(UIPresentationController&) override { heard.push_back("will"); }
    void presentationControllerDidDismiss(UIPresentationController&) override { heard.push_back("did"); }
    void presentationControllerDidAttemptToDismiss(UIPresentationController&) override { heard.push_back("attempt"); }

protected:
    friend Foundation::Construct;
    Dismissals() = default;
};

class ControllersInWindows : public testing::Test {
protected:
    void SetUp() override
    {
        g_log.clear();
        window->setFrame({0, 0, 1000, 800});
        window->setRootViewController(root);
    }

    std::shared_ptr<Screen> screen(const std::string& name) { return make<Screen>(name); }

    std::shared_ptr<UIWindowScene> scene = make<UIWindowScene>();
    std::shared_ptr<UIWindow> window = make<UIWindow>(scene);
    std::shared_ptr<Screen> root = make<Screen>("root");
};

} // namespace

TEST_F(ControllersInWindows, TheRootAppearsWithItsWindowAndItsChildrenInsideIt)
{
    auto child = screen("child");
    root->addChild(child);
    root->view()->addSubview(child->view());
    child->didMove(root);
    EXPECT_TRUE(g_log.empty()) << "nothing appears in a hidden window";

    window->makeKeyAndVisible();
    EXPECT_EQ(root->view()->superview(), window);
    EXPECT_EQ(root->view()->frame(), window->bounds());
    EXPECT_EQ(g_log, (std::vector<std::string> {"root.willAppear", "child.willAppear", "root.didAppear", "child.didAppear"}));

    g_log.clear();
    auto other = screen("other");
    window->setRootViewController(other);
    EXPECT_EQ(root->view()->superview(), nullptr);
    EXPECT_EQ(g_log, (std::vector<std::string> {"root.willDisappear", "child.willDisappear", "root.didDisappear",
                                                 "child.didDisappear", "other.willAppear", "other.didAppear"}));
    g_log.clear();
    window->setIsHidden(true);
    EXPECT_EQ(g_log, (std::vector<std::string> {"other.willDisappear", "other.didDisappear"}));
}

TEST_F(ControllersInWindows, TheChainRunsThroughControllersToTheApplication)
{
    window->makeKeyAndVisible();
    auto child = screen("child");
    root->addChild(child);
    root->view()->addSubview(child->view());
    auto field = make<UITextField>();
    child->view()->addSubview(field);
    EXPECT_EQ(field->next(), child->view());
    EXPECT_EQ(child->view()->next(), child);
    EXPECT_EQ(child->next(), root);
    EXPECT_EQ(root->next(), window);

    auto sheet = screen("sheet");
    root->present(sheet, false);
    EXPECT_EQ(sheet->next(), root);

    // A controller takes focus once it says it can and its view is in a window.
    child->focusable = true;
    EXPECT_TRUE(child->becomeFirstResponder());
    EXPECT_EQ(window->firstResponder(), child);
    child->view()->removeFromSuperview();
    EXPECT_EQ(window->firstResponder(), nullptr);
    runMainLoopUntilIdle();
}

TEST_F(ControllersInWindows, AFormSheetComesAndGoesInOrderAndHandsFocusBack)
{
    window->makeKeyAndVisible();
    auto field = make<UITextField>();
    root->view()->addSubview(field);
    ASSERT_TRUE(field->becomeFirstResponder());
    g_log.clear();

    auto sheet = screen("sheet");
    sheet->setModalPresentationStyle(UIModalPresentationStyle::formSheet);
    sheet->setPreferredContentSize({400, 300});
    bool presented = false;
    root->present(sheet, true, [&] { presented = true; });
    EXPECT_EQ(sheet->view()->superview(), window);
    EXPECT_EQ(sheet->view()->frame(), (CGRect {300, 250, 400, 300}));
    EXPECT_EQ(window->firstResponder(), nullptr) << "keys no longer go to the field under the sheet";
    EXPECT_EQ(g_log, std::vector<std::string> {"sheet.willAppear"});
    runMainLoopUntilIdle();
    EXPECT_TRUE(presented);

    auto sheetField = make<UITextField>();
    sheet->view()->addSubview(sheetField);
    ASSERT_TRUE(sheetField->becomeFirstResponder());
    sheet->dismiss(true);
    EXPECT_TRUE(sheet->isBeingDismissed());
    runMainLoopUntilIdle();
    EXPECT_EQ(sheet->view()->superview(), nullptr);
    EXPECT_EQ(root->presentedViewController(), nullptr);
    EXPECT_EQ(window->firstResponder(), field);
    // The presenter stays on screen under a sheet, so it hears nothing.
    EXPECT_EQ(g_log, (std::vector<std::string> {"sheet.willAppear", "sheet.didAppear", "sheet.willDisappear",
                                                 "sheet.didDisappear"}));
}

TEST_F(ControllersInWindows, FullScreenTakesThePresenterOutUntilTheDismissalBringsItBack)
{
    window->makeKeyAndVisible();
    g_log.clear();
    auto cover = screen("cover");
    cover->setModalPresentationStyle(UIModalPresentationStyle::fullScreen);
    root->present(cover, false);
    runMainLoopUntilIdle();
    EXPECT_EQ(root->view()->superview(), nullptr);
    EXPECT_EQ(cover->view()->frame(), window->bounds());

    cover->dismiss(false);
    EXPECT_EQ(root->view()->superview(), window);
    runMainLoopUntilIdle();
    EXPECT_EQ(window->subviews(), std::vector<std::shared_ptr<UIView>> {root->view()});
    EXPECT_EQ(g_log, (std::vector<std::string> {"cover.willAppear", "root.willDisappear", "cover.didAppear",
                                                 "root.didDisappear", "cover.willDisappear", "root.willAppear",
                                                 "cover.didDisappear", "root.didAppear"}));
}

TEST_F(ControllersInWindows, APopoverSitsAtItsAnchorAndATapOutsideDismissesItUnlessRefused)
{
    window->makeKeyAndVisible();
    auto anchor = make<UIView>(CGRect {100, 100, 50, 20});
    root->view()->addSubview(anchor);
    auto delegate = make<Dismissals>();
    auto popover = screen("popover");
    popover->setModalPresentationStyle(UIModalPresentationStyle::popover);
    popover->setPreferredContentSize({200, 100});
    popover->popoverPresentationController()->setSourceView(anchor);
    popover->popoverPresentationController()->setDelegate(delegate);
    root->present(popover, false);
    runMainLoopUntilIdle();
    EXPECT_EQ(popover->view()->frame(), (CGRect {25, 120, 200, 100}));

    UIEventDriver::tap(window, {50, 150}); // inside
    popover->setIsModalInPresentation(true);
    UIEventDriver::tap(window, {900, 700});
    popover->setIsModalInPresentation(false);
    delegate->allow = false;
    UIEventDriver::tap(window, {900, 700});
    runMainLoopUntilIdle();
    EXPECT_EQ(root->presentedViewController(), popover);

    delegate->allow = true;
    UIEventDriver::tap(window, {900, 700});
    runMainLoopUntilIdle();
    EXPECT_EQ(root->presentedViewController(), nullptr);
    EXPECT_EQ(delegate->heard, (std::vector<std::string> {"attempt", "should", "attempt", "should", "will", "did"}));
}

TEST_F(ControllersInWindows, SheetsAndPopoversAdaptToACompactWidthUnlessTheDelegateKeepsThem)
{
    window->makeKeyAndVisible();
    auto traits = scene->traitCollection();
    traits.horizontalSizeClass = UIUserInterfaceSizeClass::compact;
    scene->setTraitCollection(traits);

    auto sheet = screen("sheet");
    root->present(sheet, false);
    EXPECT_EQ(sheet->view()->frame(), window->bounds());
    sheet->dismiss(false);
    runMainLoopUntilIdle();

    auto delegate = make<Dismissals>();
    delegate->adapt = UIModalPresentationStyle::none;
    auto kept = screen("kept");
    kept->setPreferredContentSize({300, 200});
    kept->presentationController()->setDelegate(delegate);
    ASSERT_NE(root->view()->window(), nullptr);
    root->present(kept, false);
    EXPECT_EQ(kept->view()->frame(), (CGRect {350, 300, 300, 200}));
    runMainLoopUntilIdle();
}

TEST_F(ControllersInWindows, ATapGoesToTheFrontmostWindowThatAnswersAndFallsThroughOneThatDoesNot)
{
    class Passthrough : public UIWindow {
    public:
        std::shared_ptr<UIView> hitTest(CGPoint point, const std::shared_ptr<UIEvent>& event) override
        {
            auto hit = UIWindow::hitTest(point, event);
            return hit.get() == this ? nullptr : hit;
        }

    protected:
        friend Foundation::Construct;
        using UIWindow::UIWindow;
    };
    auto back = make<UIWindow>(scene);
    back->setFrame({0, 0, 1000, 800});
    auto front = make<Passthrough>(scene);
    front->setFrame({0, 0, 1000, 800});
    front->setWindowLevel(UIWindow::Level::alert());
    auto banner = make<UIView>(CGRect {0, 0, 1000, 50});
    front->addSubview(banner);
    back->makeKeyAndVisible();
    front->setIsHidden(false);
    EXPECT_TRUE(front->isInFrontOf(*back));

    auto first = UIEventDriver::touchDown({500, 20});
    EXPECT_EQ(first->window(), front);
    EXPECT_EQ(first->view(), banner);
    UIEventDriver::touchUp(first);
    auto second = UIEventDriver::touchDown({500, 400});
    EXPECT_EQ(second->window(), back);
    EXPECT_EQ(second->location(nullptr), (CGPoint {500, 400}));
    UIEventDriver::touchUp(second);
}
