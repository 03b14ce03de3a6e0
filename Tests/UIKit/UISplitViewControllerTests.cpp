#include "Platform/UIKit/UINavigationController.hpp"
#include "Platform/UIKit/UISplitViewController.hpp"
#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIViewControllerTransitionCoordinator.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"
#include "Tests/Support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace UIKit;
using Foundation::make;
using Column = UISplitViewController::Column;
using DisplayMode = UISplitViewController::DisplayMode;

namespace {

std::vector<std::string> g_heard;

class Listener : public Foundation::NSObject, public UISplitViewControllerDelegate {
public:
    void willChangeTo(UISplitViewController&, DisplayMode mode) override
    {
        g_heard.push_back("mode " + std::to_string(static_cast<int>(mode)));
    }
    void willShow(UISplitViewController&, Column column) override { g_heard.push_back("show " + std::to_string(static_cast<int>(column))); }
    void willHide(UISplitViewController&, Column column) override { g_heard.push_back("hide " + std::to_string(static_cast<int>(column))); }
    void didCollapse(UISplitViewController&) override { g_heard.push_back("collapsed"); }
    void didExpand(UISplitViewController&) override { g_heard.push_back("expanded"); }

protected:
    friend Foundation::Construct;
    Listener() = default;
};

// Hears of size class changes as a root split coordinator does.
class Root : public UISplitViewController {
public:
    void willTransition(const UITraitCollection& to, const std::shared_ptr<UIViewControllerTransitionCoordinator>& with) override
    {
        UISplitViewController::willTransition(to, with);
        g_heard.push_back("willTransition");
        with->animate([this](const auto&) { g_heard.push_back(std::string("alongside, collapsed ") + (isCollapsed() ? "yes" : "no")); },
                      [](const auto&) { g_heard.push_back("completed"); });
    }

protected:
    friend Foundation::Construct;
    Root() = default;
};

class SplitView : public testing::Test {
protected:
    void SetUp() override
    {
        g_heard.clear();
        window->setFrame({0, 0, 1000, 700});
        split->setDelegate(listener);
        split->setViewControllers({primary, secondary});
        window->setRootViewController(split);
        window->makeKeyAndVisible();
    }
    void setHorizontalSizeClass(UIUserInterfaceSizeClass sizeClass)
    {
        auto traits = scene->traitCollection();
        traits.horizontalSizeClass = sizeClass;
        scene->setTraitCollection(traits);
    }

    std::shared_ptr<UIWindowScene> scene = make<UIWindowScene>();
    std::shared_ptr<UIWindow> window = make<UIWindow>(scene);
    std::shared_ptr<Listener> listener = make<Listener>();
    std::shared_ptr<Root> split = make<Root>();
    std::shared_ptr<UINavigationController> primary = make<UINavigationController>(make<UIViewController>());
    std::shared_ptr<UIViewController> secondary = make<UIViewController>();
};

} // namespace

TEST_F(SplitView, ColumnsStandSideBySideAndTheDisplayModeShowsOrHidesThePrimary)
{
    EXPECT_EQ(split->displayMode(), DisplayMode::oneBesideSecondary);
    EXPECT_EQ(primary->view()->frame(), (CGRect {0, 0, 320, 700}));
    EXPECT_EQ(secondary->view()->frame(), (CGRect {320, 0, 680, 700}));

    split->setMinimumPrimaryColumnWidth(200);
    split->setPreferredPrimaryColumnWidth(150);
    EXPECT_EQ(split->primaryColumnWidth(), 200);
    EXPECT_EQ(secondary->view()->frame().origin.x, 200);

    split->hide(Column::primary);
    EXPECT_EQ(split->displayMode(), DisplayMode::secondaryOnly);
    EXPECT_EQ(primary->view()->superview(), nullptr);
    EXPECT_EQ(secondary->view()->frame(), split->view()->bounds());
    split->show(Column::primary);
    EXPECT_EQ(primary->view()->superview(), split->view());
    EXPECT_EQ(g_heard, (std::vector<std::string> {"hide 0", "mode 1", "show 0", "mode 2"}));
}

TEST_F(SplitView, ACompactWidthCollapsesOntoThePrimaryStackAndARegularOneExpandsAgain)
{
    setHorizontalSizeClass(UIUserInterfaceSizeClass::compact);
    EXPECT_TRUE(split->isCollapsed());
    EXPECT_EQ(primary->topViewController(), secondary);
    EXPECT_EQ(primary->view()->frame(), split->view()->bounds());
    EXPECT_EQ(secondary->view()->superview(), primary->view());
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(g_heard, (std::vector<std::string> {"willTransition", "collapsed", "alongside, collapsed yes", "completed"}));

    // Collapsed, a detail goes onto the primary stack.
    auto detail = make<UIViewController>();
    split->showDetailViewController(detail, nullptr);
    EXPECT_EQ(primary->topViewController(), detail);
    primary->popViewController(false);

    g_heard.clear();
    setHorizontalSizeClass(UIUserInterfaceSizeClass::regular);
    EXPECT_FALSE(split->isCollapsed());
    EXPECT_EQ(split->viewController(Column::secondary), secondary);
    EXPECT_EQ(primary->viewControllers().size(), 1u);
    EXPECT_EQ(secondary->view()->superview(), split->view());
    EXPECT_EQ(g_heard, (std::vector<std::string> {"willTransition", "expanded", "alongside, collapsed no"}));

    // Expanded, a detail takes the secondary column.
    split->showDetailViewController(detail, nullptr);
    EXPECT_EQ(split->viewController(Column::secondary), detail);
    EXPECT_EQ(secondary->parent(), nullptr);
    TestSupport::runMainLoopUntilIdle();
}
