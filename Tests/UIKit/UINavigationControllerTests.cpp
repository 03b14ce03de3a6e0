#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/UIKit/UIAction.hpp"
#include "Platform/UIKit/UIBarButtonItem.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIEventDriver.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UINavigationBar.hpp"
#include "Platform/UIKit/UINavigationController.hpp"
#include "Platform/UIKit/UINavigationItem.hpp"
#include "Platform/UIKit/UIScreen.hpp"
#include "Platform/UIKit/UISearchBar.hpp"
#include "Platform/UIKit/UISearchController.hpp"
#include "Platform/UIKit/UITab.hpp"
#include "Platform/UIKit/UITabBarController.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace UIKit;
using Foundation::make;

namespace {

std::vector<std::string> g_log;

class Page : public UIViewController {
public:
    std::string name;
    void viewWillAppear(bool) override { g_log.push_back(name + ".willAppear"); }
    void viewDidAppear(bool) override { g_log.push_back(name + ".didAppear"); }
    void viewWillDisappear(bool) override { g_log.push_back(name + ".willDisappear"); }
    void viewDidDisappear(bool) override { g_log.push_back(name + ".didDisappear"); }

protected:
    friend Foundation::Construct;
    explicit Page(std::string pageName)
        : name(std::move(pageName))
    {
        navigationItem()->setTitle(Foundation::String(name));
    }
};

class Containers : public testing::Test {
protected:
    void SetUp() override
    {
        g_log.clear();
        window->setFrame({0, 0, 800, 600});
        window->makeKeyAndVisible();
    }
    void show(const std::shared_ptr<UIViewController>& root)
    {
        window->setRootViewController(root);
        g_log.clear();
    }

    std::shared_ptr<UIWindowScene> scene = make<UIWindowScene>();
    std::shared_ptr<UIWindow> window = make<UIWindow>(scene);
};

} // namespace

TEST_F(Containers, PushAndPopSwapTheTopViewBelowTheBarInThePlatformsOrder)
{
    auto list = make<Page>("list");
    auto navigation = make<UINavigationController>(std::static_pointer_cast<UIViewController>(list));
    show(navigation);
    const auto& bar = navigation->navigationBar();
    EXPECT_EQ(bar->frame(), (CGRect {0, 0, 800, UINavigationBar::rowHeight}));
    EXPECT_EQ(list->view()->frame(), (CGRect {0, 52, 800, 548}));
    EXPECT_EQ(bar->titleLabel()->text(), Foundation::String("list"));
    EXPECT_EQ(bar->backButton(), nullptr);

    auto detail = make<Page>("detail");
    navigation->pushViewController(detail, true);
    EXPECT_EQ(list->view()->superview(), nullptr);
    EXPECT_EQ(detail->view()->superview(), navigation->view());
    EXPECT_EQ(bar->topItem(), detail->navigationItem());
    ASSERT_NE(bar->backButton(), nullptr);
    EXPECT_EQ(bar->backButton()->currentTitle(), Foundation::String("list"));

    // The back button pops.
    auto back = bar->backButton();
    UIEventDriver::tap(window, back->convertTo(CGPoint {5, 5}, nullptr));
    EXPECT_EQ(navigation->topViewController(), list);
    EXPECT_EQ(g_log, (std::vector<std::string> {"list.willDisappear", "detail.willAppear", "list.didDisappear",
                                                 "detail.didAppear", "detail.willDisappear", "list.willAppear",
                                                 "detail.didDisappear", "list.didAppear"}));
}

TEST_F(Containers, TheBarShowsItemsButtonsALargeTitleAndTheSearchBarAsTheyChange)
{
    auto list = make<Page>("list");
    auto navigation = make<UINavigationController>(std::static_pointer_cast<UIViewController>(list));
    show(navigation);
    int adds = 0;
    auto add = make<UIBarButtonItem>(std::optional<Foundation::String>("Add"),
                                     make<UIAction>("Add", [&](const auto&) { ++adds; }));
    add->setAccessibilityIdentifier(Foundation::String("addButton"));
    list->navigationItem()->setRightBarButtonItem(add);
    auto button = std::dynamic_pointer_cast<UIButton>(add->view());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->superview(), navigation->navigationBar());
    EXPECT_EQ(button->accessibilityIdentifier(), Foundation::String("addButton"));
    UIEventDriver::tap(window, button->convertTo(CGPoint {2, 2}, nullptr));
    add->setIsEnabled(false);
    list->navigationItem()->setRightBarButtonItem(add);
    UIEventDriver::tap(window, add->view()->convertTo(CGPoint {2, 2}, nullptr));
    EXPECT_EQ(adds, 1);

    navigation->navigationBar()->setPrefersLargeTitles(true);
    list->navigationItem()->setSearchController(make<UISearchController>());
    EXPECT_TRUE(navigation->navigationBar()->showsLargeTitle());
    EXPECT_EQ(navigation->navigationBar()->preferredHeight(), 3 * UINavigationBar::rowHeight);
    EXPECT_EQ(list->view()->frame().origin.y, 3 * UINavigationBar::rowHeight);
    EXPECT_EQ(list->navigationItem()->searchController()->searchBar()->superview(), navigation->navigationBar());
    list->navigationItem()->setLargeTitleDisplayMode(UINavigationItem::LargeTitleDisplayMode::never);
    EXPECT_EQ(navigation->navigationBar()->preferredHeight(), 2 * UINavigationBar::rowHeight);
}

TEST_F(Containers, SelectingATabSwapsTheShownController)
{
    auto first = make<Page>("first");
    auto second = make<Page>("second");
    auto tabs = make<UITabBarController>(std::vector<std::shared_ptr<UITab>> {
        make<UITab>("First", nullptr, "first", [first](const auto&) { return first; }),
        make<UITab>("Second", nullptr, "second", [second](const auto&) { return second; })});
    show(tabs);
    EXPECT_EQ(first->view()->superview(), tabs->view());
    tabs->setSelectedIndex(1);
    EXPECT_EQ(first->view()->superview(), nullptr);
    EXPECT_EQ(second->view()->frame(), tabs->view()->bounds());
    EXPECT_EQ(g_log, (std::vector<std::string> {"first.willDisappear", "second.willAppear", "first.didDisappear",
                                                 "second.didAppear"}));
}

TEST_F(Containers, TheKeyboardShowsWhileATextInputHasFocus)
{
    UIScreen::main()->setKeyboardHeight(300);
    std::vector<std::pair<std::string, CGRect>> heard;
    auto center = Foundation::NotificationCenter::defaultCenter();
    std::vector<std::shared_ptr<Foundation::NSObject>> tokens;
    for (const auto& name : {UIResponder::keyboardWillShowNotification(), UIResponder::keyboardWillHideNotification()})
        tokens.push_back(center->addObserver(name, nullptr, nullptr, [&](const Foundation::Notification& note) {
            heard.emplace_back(note.name().rawValue().utf8(),
                               std::any_cast<CGRect>(note.userInfo()->at(UIResponder::keyboardFrameEndUserInfoKey())));
        }));
    auto first = make<UITextField>();
    auto second = make<UITextField>();
    window->addSubview(first);
    window->addSubview(second);
    first->becomeFirstResponder();
    second->becomeFirstResponder(); // from one field to another the keyboard stays
    second->resignFirstResponder();
    for (const auto& token : tokens)
        center->removeObserver(token);
    UIScreen::main()->setKeyboardHeight(0);

    const CGRect screen = UIScreen::main()->bounds();
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].first, "UIKeyboardWillShowNotification");
    EXPECT_EQ(heard[0].second, (CGRect {0, screen.size.height - 300, screen.size.width, 300}));
    EXPECT_EQ(heard[1].first, "UIKeyboardWillHideNotification");
}
