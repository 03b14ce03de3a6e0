#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/UIKit/UIAction.hpp"
#include "Platform/UIKit/UIAlertAction.hpp"
#include "Platform/UIKit/UIAlertController.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIApplicationDelegate.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIContextMenuConfiguration.hpp"
#include "Platform/UIKit/UIContextualAction.hpp"
#include "Platform/UIKit/UIFocusItem.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIMenu.hpp"
#include "Platform/UIKit/UIMenuBuilder.hpp"
#include "Platform/UIKit/UIMenuSystem.hpp"
#include "Platform/UIKit/UIModalPresentationStyle.hpp"
#include "Platform/UIKit/UINavigationController.hpp"
#include "Platform/UIKit/UINavigationItem.hpp"
#include "Platform/UIKit/UIScrollView.hpp"
#include "Platform/UIKit/UISegmentedControl.hpp"
#include "Platform/UIKit/UISplitViewController.hpp"
#include "Platform/UIKit/UISwipeActionsConfiguration.hpp"
#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UITableViewDataSource.hpp"
#include "Platform/UIKit/UITableViewDelegate.hpp"
#include "Platform/UIKit/UITapGestureRecognizer.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UISwitch.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"
#include "Tests/Support/Driver.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace UIKit;
using Foundation::IndexPath;
using Foundation::make;
using Foundation::Selector;
using Foundation::String;

namespace {

std::vector<std::string> g_log;

// A screen with a table of four rows above a form of three fields, named after the screen.
class ListAndForm : public UIViewController, public UITableViewDataSource, public UITableViewDelegate {
public:
    std::string name;
    std::shared_ptr<UITableView> table;
    std::vector<std::shared_ptr<UITextField>> fields;

    void loadView() override
    {
        auto view = make<UIView>(CGRect {0, 0, 600, 600});
        table = make<UITableView>(CGRect {0, 0, 600, 200}, UITableView::Style::plain);
        table->registerCell<UITableViewCell>("Row");
        table->setRowHeight(40);
        table->setDataSource(std::dynamic_pointer_cast<UITableViewDataSource>(sharedSelf(this)));
        table->setDelegate(std::dynamic_pointer_cast<UITableViewDelegate>(sharedSelf(this)));
        view->addSubview(table);
        CGFloat y = 220;
        for (const char* field : {"title", "username", "password"}) {
            auto input = make<UITextField>(CGRect {20, y, 200, 30});
            input->setAccessibilityIdentifier(String(name + "." + field));
            view->addSubview(input);
            fields.push_back(input);
            y += 40;
        }
        setView(view);
    }
    std::int64_t numberOfRowsInSection(UITableView&, std::int64_t) override { return 4; }
    std::shared_ptr<UITableViewCell> cellForRowAt(UITableView& tableView, const IndexPath& indexPath) override
    {
        auto cell = tableView.dequeueReusableCell("Row", indexPath);
        cell->setAccessibilityLabel(String(name + " row " + std::to_string(indexPath.row())));
        return cell;
    }
    void didSelectRowAt(UITableView&, const IndexPath& indexPath) override
    {
        g_log.push_back(name + " selected " + std::to_string(indexPath.row()));
    }
    std::shared_ptr<UIContextMenuConfiguration> contextMenuConfigurationForRowAt(UITableView&, const IndexPath& indexPath,
                                                                                 CGPoint) override
    {
        auto row = indexPath.row();
        return make<UIContextMenuConfiguration>(std::nullopt, nullptr, [this, row](const auto&) {
            return make<UIMenu>("", std::vector<std::shared_ptr<UIMenuElement>> {make<UIAction>("Duplicate", [this, row](const auto&) {
                g_log.push_back(name + " duplicated " + std::to_string(row));
            })});
        });
    }
    std::shared_ptr<UISwipeActionsConfiguration> trailingSwipeActionsConfigurationForRowAt(UITableView&, const IndexPath& indexPath) override
    {
        auto row = indexPath.row();
        auto trash = make<UIContextualAction>(UIContextualAction::Style::destructive, std::optional<String>("Trash"),
                                              [this, row](const auto&, const auto&, auto completion) {
                                                  g_log.push_back(name + " trashed " + std::to_string(row));
                                                  completion(true);
                                              });
        return make<UISwipeActionsConfiguration>(std::vector {trash});
    }

protected:
    friend Foundation::Construct;
    explicit ListAndForm(std::string screenName)
        : name(std::move(screenName))
    {
        navigationItem()->setTitle(String(name));
    }
};

// The detail screen: Command-S saves, and Delete is refused.
class Detail : public ListAndForm {
public:
    void handleSaveCommand() { g_log.push_back("saved"); }
    void handleDeleteCommand() { g_log.push_back("deleted"); }
    bool canPerformAction(Selector action, const std::shared_ptr<Foundation::NSObject>& sender) override
    {
        if (action == Selector("handleDeleteCommand"))
            return false;
        return ListAndForm::canPerformAction(action, sender);
    }
    std::optional<std::vector<std::shared_ptr<UIKeyCommand>>> keyCommands() const override
    {
        return std::vector {make<UIKeyCommand>("Save", Selector("handleSaveCommand"), "S", UIKeyModifierFlags::command())};
    }
    void viewWillAppear(bool) override { g_log.push_back("detail.willAppear"); }
    void viewDidAppear(bool) override { g_log.push_back("detail.didAppear"); }

protected:
    friend Foundation::Construct;
    Detail()
        : ListAndForm("detail")
    {
    }
};

// Puts Save and Delete into an Item menu.
class Delegate : public UIResponder, public UIApplicationDelegate {
public:
    void buildMenu(UIMenuBuilder& builder) override
    {
        builder.insertSiblingAfterMenu(make<UIMenu>("Item", UIMenu::Identifier("test.menu.item"), UIMenu::Options(),
                                                    std::vector<std::shared_ptr<UIMenuElement>> {
                                                        make<UICommand>("Save", Selector("handleSaveCommand")),
                                                        make<UICommand>("Delete", Selector("handleDeleteCommand")),
                                                    }),
                                       UIMenu::Identifier::view());
    }

protected:
    friend Foundation::Construct;
    Delegate() = default;
};

// Logs its appearance calls under its name.
class Sheet : public UIViewController {
public:
    std::string name;
    void viewWillAppear(bool) override { g_log.push_back(name + ".willAppear"); }
    void viewDidAppear(bool) override { g_log.push_back(name + ".didAppear"); }
    void viewWillDisappear(bool) override { g_log.push_back(name + ".willDisappear"); }
    void viewDidDisappear(bool) override { g_log.push_back(name + ".didDisappear"); }

protected:
    friend Foundation::Construct;
    explicit Sheet(std::string sheetName)
        : name(std::move(sheetName))
    {
    }
};

// A choice of a list: one item of its group, logging the taps that reach it.
class Choice : public UIView, public UIFocusItem {
public:
    std::string name;
    std::optional<String> group;
    bool isPreferred = false;

    std::optional<String> focusGroupIdentifier() const override { return group; }
    std::int64_t focusGroupPriority() const override { return isPreferred ? UIFocusGroupPriority::prioritized : UIFocusGroupPriority::ignored; }

protected:
    friend Foundation::Construct;
    Choice(std::string choiceName, std::optional<String> choiceGroup, CGRect frame)
        : UIView(frame)
        , name(std::move(choiceName))
        , group(std::move(choiceGroup))
    {
    }
    void initialize() override
    {
        UIView::initialize();
        auto logged = name;
        addGestureRecognizer(make<UITapGestureRecognizer>([logged](UIGestureRecognizer&) { g_log.push_back("chose " + logged); }));
    }
};

// A screen whose own keys are the arrows and Return.
class Chooser : public UIViewController {
public:
    void handleUpCommand() { g_log.push_back("screen's Up"); }
    void handleReturnCommand() { g_log.push_back("screen's Return"); }
    std::optional<std::vector<std::shared_ptr<UIKeyCommand>>> keyCommands() const override
    {
        return std::vector {make<UIKeyCommand>(UIKeyCommand::inputUpArrow(), UIKeyModifierFlags(), Selector("handleUpCommand")),
                            make<UIKeyCommand>(String("\r"), UIKeyModifierFlags(), Selector("handleReturnCommand"))};
    }

protected:
    friend Foundation::Construct;
    Chooser() = default;
};

// A screen that takes the keyboard itself.
class Holder : public UIViewController {
public:
    bool canBecomeFirstResponder() const override { return true; }

protected:
    friend Foundation::Construct;
    Holder() = default;
};

const bool registered = [] {
    Foundation::MethodTable::add(Selector("handleSaveCommand"), &Detail::handleSaveCommand);
    Foundation::MethodTable::add(Selector("handleDeleteCommand"), &Detail::handleDeleteCommand);
    Foundation::MethodTable::add(Selector("handleUpCommand"), &Chooser::handleUpCommand);
    Foundation::MethodTable::add(Selector("handleReturnCommand"), &Chooser::handleReturnCommand);
    return true;
}();

class DrivenWindow : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(registered);
        g_log.clear();
        UIApplication::shared()->setDelegate(delegate);
        UIMenuSystem::main()->setNeedsRebuild();
        window->setFrame({0, 0, 1000, 700});
        window->setAccessibilityIdentifier(String("mainWindow"));
    }
    void TearDown() override
    {
        UIApplication::shared()->setDelegate(nullptr);
        UIMenuSystem::main()->setNeedsRebuild();
    }

    std::shared_ptr<Delegate> delegate = make<Delegate>();
    std::shared_ptr<UIWindowScene> scene = make<UIWindowScene>();
    std::shared_ptr<UIWindow> window = make<UIWindow>(scene);
    TestSupport::Driver driver {scene};
};

} // namespace

TEST_F(DrivenWindow, ASplitOfTwoNavigationStacksTakesTabsTypingTapsKeyCommandsAndMenus)
{
    auto list = make<ListAndForm>("list");
    auto detail = make<Detail>();
    auto split = make<UISplitViewController>();
    split->setViewControllers({make<UINavigationController>(std::static_pointer_cast<UIViewController>(list)),
                               make<UINavigationController>(std::static_pointer_cast<UIViewController>(detail))});
    window->setRootViewController(split);
    window->makeKeyAndVisible();
    list->table->layoutIfNeeded();
    detail->table->layoutIfNeeded();
    driver.settle();

    // Tab moves through the form's fields and typing fills them.
    driver.tap("detail.title");
    driver.type("Mail");
    driver.press("Tab");
    driver.type("me@example.com");
    driver.press("Tab");
    driver.type("s3cret");
    EXPECT_EQ(detail->fields[0]->text(), "Mail");
    EXPECT_EQ(detail->fields[1]->text(), "me@example.com");
    EXPECT_EQ(detail->fields[2]->text(), "s3cret");
    EXPECT_TRUE(detail->fields[2]->isFirstResponder());
    EXPECT_TRUE(list->fields[0]->text().isEmpty()) << "Tab stays in reading order, the list's fields come first";

    // A tap on a row selects it.
    driver.tap("list row 2");
    EXPECT_EQ(list->table->indexPathForSelectedRow(), IndexPath::withRow(2, 0));

    // The detail's key command fires while one of its fields has focus.
    driver.tap("detail.password");
    driver.press("s", UIKeyModifierFlags::command());
    EXPECT_EQ(detail->fields[2]->text(), "s3cret");

    // The menu bar: Save is enabled by the chain, Delete refused and shown disabled.
    auto save = std::dynamic_pointer_cast<UICommand>(driver.menuItem({"Item", "Save"}));
    auto remove = std::dynamic_pointer_cast<UICommand>(driver.menuItem({"Item", "Delete"}));
    ASSERT_TRUE(save && remove);
    EXPECT_FALSE(save->attributes().contains(UIMenuElement::Attributes::disabled()));
    EXPECT_TRUE(remove->attributes().contains(UIMenuElement::Attributes::disabled()));
    driver.chooseMenuItem({"Item", "Save"});
    EXPECT_FALSE(driver.core().chooseMenuBarItem({"Item", "Delete"}));

    // Rows offer a context menu and swipe actions.
    driver.openContextMenu("list row 1");
    driver.chooseShownMenuItem({"Duplicate"});
    EXPECT_TRUE(driver.core().swipeRow(list->table, 0, 3, false, "Trash"));

    EXPECT_EQ(g_log, (std::vector<std::string> {"detail.willAppear", "detail.didAppear", "list selected 2", "saved", "saved",
                                                "list duplicated 1", "list trashed 3"}));
    const auto screen = driver.describe();
    EXPECT_NE(screen.find("UIWindow #mainWindow key level 0"), std::string::npos) << screen;
    EXPECT_NE(screen.find("UITextField #detail.password value=\"s3cret\" focused"), std::string::npos) << screen;
    EXPECT_NE(screen.find("\"list row 2\" selected"), std::string::npos) << screen;
}

TEST_F(DrivenWindow, AFormSheetComesAndGoesInOrderAndFocusReturnsWhereItWas)
{
    auto presenter = make<Sheet>("presenter");
    window->setRootViewController(presenter);
    window->makeKeyAndVisible();
    auto field = make<UITextField>(CGRect {20, 20, 200, 30});
    field->setAccessibilityIdentifier(String("search"));
    presenter->view()->addSubview(field);
    driver.tap("search");
    g_log.clear();

    auto sheet = make<Sheet>("sheet");
    sheet->setModalPresentationStyle(UIModalPresentationStyle::formSheet);
    sheet->loadViewIfNeeded();
    auto note = make<UITextField>(CGRect {20, 20, 200, 30});
    note->setAccessibilityIdentifier(String("note"));
    sheet->view()->addSubview(note);
    auto done = make<UIButton>(CGRect {20, 80, 80, 30});
    done->setTitle(String("Done"), UIControl::State::normal());
    std::weak_ptr<Sheet> weakSheet = sheet;
    done->addAction([weakSheet] {
        if (auto shown = weakSheet.lock())
            shown->dismiss(true);
    }, UIControl::Event::primaryActionTriggered());
    sheet->view()->addSubview(done);
    presenter->present(sheet, true);
    driver.settle();

    driver.tap("note");
    driver.type("Remember the milk");
    driver.tap("Done");
    EXPECT_EQ(note->text(), "Remember the milk");
    EXPECT_EQ(presenter->presentedViewController(), nullptr);
    EXPECT_TRUE(field->isFirstResponder());
    // The presenter stays on screen under a sheet, so only the sheet comes and goes.
    EXPECT_EQ(g_log, (std::vector<std::string> {"sheet.willAppear", "sheet.didAppear", "sheet.willDisappear",
                                                 "sheet.didDisappear"}));
}

TEST_F(DrivenWindow, AnAlertActionChosenThroughTheDriverRunsOnceTheAlertIsGone)
{
    auto presenter = make<Sheet>("presenter");
    window->setRootViewController(presenter);
    window->makeKeyAndVisible();
    auto alert = make<UIAlertController>(std::optional<String>("Oops!"), std::optional<String>("Something went wrong."),
                                         UIAlertController::Style::alert);
    int ran = 0;
    alert->addAction(make<UIAlertAction>(std::optional<String>("OK"), UIAlertAction::Style::default_, [&](const auto&) {
        ++ran;
        EXPECT_EQ(presenter->presentedViewController(), nullptr) << "the handler runs once the alert is gone";
        EXPECT_EQ(driver.core().alert(), nullptr);
    }));
    presenter->present(alert, true);
    driver.settle();
    EXPECT_NE(driver.describe().find("\"Oops!\""), std::string::npos);

    driver.chooseAlertAction("OK");
    EXPECT_FALSE(driver.core().chooseAlertAction("OK"));
    driver.settle();
    EXPECT_EQ(ran, 1);
}

TEST_F(DrivenWindow, TheKeyboardAloneMovesTheFocusPressesControlsStepsSegmentsAndMovesTheSelection)
{
    auto list = make<ListAndForm>("list");
    auto detail = make<Detail>();
    auto split = make<UISplitViewController>();
    split->setViewControllers({std::static_pointer_cast<UIViewController>(list), std::static_pointer_cast<UIViewController>(detail)});
    window->setRootViewController(split);
    window->makeKeyAndVisible();
    auto toggle = make<UISwitch>(CGRect {300, 220, 60, 30});
    auto kind = make<UISegmentedControl>(std::vector<String> {"A", "B", "C"});
    kind->setFrame({300, 300, 90, 30});
    kind->setSelectedSegmentIndex(0);
    auto cancel = make<UIButton>(CGRect {300, 360, 80, 30});
    cancel->setTitle(String("Cancel"), UIControl::State::normal());
    cancel->addAction([] { g_log.push_back("cancelled"); }, UIControl::Event::primaryActionTriggered());
    for (std::shared_ptr<UIView> view : {std::shared_ptr<UIView>(toggle), std::shared_ptr<UIView>(kind), std::shared_ptr<UIView>(cancel)})
        detail->view()->addSubview(view);
    window->layoutIfNeeded();
    driver.settle();
    g_log.clear();
    auto& core = driver.core();

    // Reading order: the list's column whole (table, then its fields), then the detail's, top to bottom.
    auto order = core.focusableViews();
    ASSERT_EQ(order.size(), 11U);
    EXPECT_EQ(order[0], list->table);
    EXPECT_EQ(order[3], list->fields[2]);
    EXPECT_EQ(order[4], detail->table);
    EXPECT_EQ(order[6], toggle) << "beside the form's first field, further right";

    // Tab from nothing starts at the first stop; Shift-Tab goes round backwards.
    EXPECT_TRUE(core.pressNavigating("Tab"));
    EXPECT_EQ(core.focusedView(), list->table);
    EXPECT_TRUE(core.pressNavigating("Tab", UIKeyModifierFlags::shift()));
    EXPECT_EQ(core.focusedView(), cancel);
    // Arrows move the selection of the focused table, else of the screen's first.
    EXPECT_TRUE(core.pressNavigating("Down"));
    EXPECT_TRUE(core.pressNavigating("Down"));
    driver.settle();
    EXPECT_EQ(list->table->indexPathForSelectedRow(), IndexPath::withRow(1, 0));
    EXPECT_TRUE(core.pressNavigating("End"));
    driver.settle();
    EXPECT_EQ(list->table->indexPathForSelectedRow(), IndexPath::withRow(3, 0));

    // Typing reaches the field the focus is in; Tab leaves it for the next stop, a switch Space flips.
    ASSERT_TRUE(core.focus(detail->fields[0]));
    core.type("Mail");
    EXPECT_EQ(detail->fields[0]->text(), "Mail");
    EXPECT_TRUE(core.pressNavigating("Tab"));
    EXPECT_EQ(core.focusedView(), toggle);
    EXPECT_FALSE(detail->fields[0]->isFirstResponder());
    EXPECT_TRUE(core.pressNavigating("Space"));
    driver.settle();
    EXPECT_TRUE(toggle->isOn());

    // Left and Right step a segmented control; Escape presses the screen's Cancel.
    ASSERT_TRUE(core.focus(kind));
    EXPECT_TRUE(core.pressNavigating("Right"));
    EXPECT_TRUE(core.pressNavigating("Right"));
    EXPECT_FALSE(core.pressNavigating("Right")) << "the last segment is as far as it goes";
    EXPECT_EQ(kind->selectedSegmentIndex(), 2);
    EXPECT_TRUE(core.pressNavigating("Escape"));
    driver.settle();
    EXPECT_EQ(g_log, (std::vector<std::string> {"list selected 0", "list selected 1", "list selected 3", "cancelled"}));
}

TEST_F(DrivenWindow, WithTheFocusOnAButtonKeyAndMenuCommandsGoUpFromItUntilItLeaves)
{
    auto list = make<ListAndForm>("list");
    auto detail = make<Detail>();
    auto split = make<UISplitViewController>();
    split->setViewControllers({std::static_pointer_cast<UIViewController>(list), std::static_pointer_cast<UIViewController>(detail)});
    window->setRootViewController(split);
    window->makeKeyAndVisible();
    auto cancel = make<UIButton>(CGRect {300, 360, 80, 30});
    cancel->setTitle(String("Cancel"), UIControl::State::normal());
    cancel->addAction([] { g_log.push_back("cancelled"); }, UIControl::Event::primaryActionTriggered());
    detail->view()->addSubview(cancel);
    window->layoutIfNeeded();
    driver.settle();
    g_log.clear();
    auto& core = driver.core();

    // From a field to the button: nothing is first responder, the button holds the focus.
    ASSERT_TRUE(core.focus(detail->fields[0]));
    ASSERT_TRUE(core.focus(cancel));
    EXPECT_FALSE(window->firstResponder());
    EXPECT_EQ(window->focusedView(), cancel);
    // The detail's key command and the menu bar's Save answer from the button's screen.
    auto save = driver.menuItem({"Item", "Save"});
    ASSERT_TRUE(save);
    EXPECT_TRUE(UIMenuSystem::isEnabled(*save));
    EXPECT_TRUE(core.pressNavigating("s", UIKeyModifierFlags::command()));
    driver.chooseMenuItem({"Item", "Save"});
    // Return presses it.
    EXPECT_TRUE(core.pressNavigating("Return"));
    driver.settle();

    // Gone from the window, it holds the focus no more: the commands have nobody to answer them.
    cancel->removeFromSuperview();
    EXPECT_FALSE(window->focusedView());
    EXPECT_FALSE(core.pressNavigating("s", UIKeyModifierFlags::command()));
    EXPECT_EQ(g_log, (std::vector<std::string> {"saved", "saved", "cancelled"}));
}

TEST_F(DrivenWindow, TheFocusScrollsALongPageToWhatItReachesThere)
{
    auto page = make<UIViewController>();
    window->setRootViewController(page);
    window->makeKeyAndVisible();
    auto scrollView = make<UIScrollView>(CGRect {0, 0, 1000, 300});
    scrollView->setContentSize({1000, 900});
    page->view()->addSubview(scrollView);
    auto top = make<UIButton>(CGRect {10, 10, 100, 30});
    auto bottom = make<UIButton>(CGRect {10, 850, 100, 30});
    for (const auto& button : {top, bottom}) {
        button->setTitle(String("Go"), UIControl::State::normal());
        scrollView->addSubview(button);
    }
    window->layoutIfNeeded();
    auto& core = driver.core();

    EXPECT_TRUE(core.pressNavigating("Tab"));
    EXPECT_TRUE(core.pressNavigating("Tab"));
    EXPECT_EQ(core.focusedView(), bottom);
    EXPECT_EQ(scrollView->contentOffset().y, 580) << "just far enough to show it";
    EXPECT_TRUE(core.pressNavigating("Tab"));
    EXPECT_EQ(core.focusedView(), top);
    EXPECT_EQ(scrollView->contentOffset().y, 10);
    EXPECT_TRUE(core.focus(top));
    EXPECT_EQ(scrollView->contentOffset().y, 10) << "in sight already: nothing moves under a click";

    // Content that shrinks under the offset takes the offset back with it.
    EXPECT_TRUE(core.pressNavigating("Tab"));
    EXPECT_EQ(scrollView->contentOffset().y, 580);
    scrollView->setContentSize({1000, 400});
    EXPECT_EQ(scrollView->contentOffset().y, 100);
    scrollView->setContentSize({1000, 200});
    EXPECT_EQ(scrollView->contentOffset().y, 0);
}

namespace {

TEST_F(DrivenWindow, WhatALongPageScrolledPastStillComesAfterTheHeaderAboveIt)
{
    auto page = make<UIViewController>();
    window->setRootViewController(page);
    window->makeKeyAndVisible();
    auto done = make<UIButton>(CGRect {10, 0, 100, 30});
    done->setTitle(String("Done"), UIControl::State::normal());
    page->view()->addSubview(done);
    auto scrollView = make<UIScrollView>(CGRect {0, 40, 1000, 300});
    scrollView->setContentSize({1000, 900});
    page->view()->addSubview(scrollView);
    std::vector<std::shared_ptr<UIButton>> buttons;
    for (CGFloat y : {10, 450, 850}) {
        buttons.push_back(make<UIButton>(CGRect {10, y, 100, 30}));
        buttons.back()->setTitle(String("Go"), UIControl::State::normal());
        scrollView->addSubview(buttons.back());
    }
    window->layoutIfNeeded();
    auto& core = driver.core();

    ASSERT_TRUE(core.focus(buttons[2]));
    ASSERT_GT(scrollView->contentOffset().y, 450) << "the first two scrolled up past the top";
    EXPECT_TRUE(core.pressNavigating("Tab"));
    EXPECT_EQ(core.focusedView(), done) << "round to the header, not to the page's first button";
    EXPECT_TRUE(core.pressNavigating("Tab", UIKeyModifierFlags::shift()));
    EXPECT_EQ(core.focusedView(), buttons[2]);
    EXPECT_TRUE(core.pressNavigating("Tab", UIKeyModifierFlags::shift()));
    EXPECT_EQ(core.focusedView(), buttons[1]);
}

TEST_F(DrivenWindow, AScreenBeneathThatTakesTheKeyboardBackLeavesTheKeysToTheFocusInFront)
{
    auto beneath = make<Holder>();
    window->setRootViewController(beneath);
    window->makeKeyAndVisible();
    auto sheet = make<Chooser>();
    sheet->setModalPresentationStyle(UIModalPresentationStyle::formSheet);
    sheet->loadViewIfNeeded();
    auto go = make<UIButton>(CGRect {20, 80, 80, 30});
    go->setTitle(String("Go"), UIControl::State::normal());
    sheet->view()->addSubview(go);
    beneath->present(sheet, false);
    driver.settle();
    auto& core = driver.core();
    ASSERT_TRUE(core.focus(go));

    // Something beneath (a list reloading) takes the keyboard while the sheet is up.
    ASSERT_TRUE(beneath->becomeFirstResponder());
    EXPECT_EQ(core.focusedView(), go);
    EXPECT_TRUE(core.pressNavigating("Up"));
    EXPECT_EQ(g_log, std::vector<std::string> {"screen's Up"}) << "the sheet's own key, from the focus in it";
}

TEST_F(DrivenWindow, AFocusGroupIsOneStopEnteredAtItsPreferredItemWhoseArrowsAndReturnComeBeforeTheScreensKeys)
{
    auto screen = make<Chooser>();
    window->setRootViewController(screen);
    window->makeKeyAndVisible();
    auto first = make<UIButton>(CGRect {10, 10, 100, 30});
    first->setTitle(String("First"), UIControl::State::normal());
    std::vector<std::shared_ptr<Choice>> fruit;
    for (const char* name : {"apple", "banana", "cherry"})
        fruit.push_back(make<Choice>(name, String("fruit"), CGRect {10, 60 + 40 * static_cast<CGFloat>(fruit.size()), 200, 30}));
    auto loner = make<Choice>("loner", std::nullopt, CGRect {10, 200, 200, 30});
    auto last = make<UIButton>(CGRect {10, 260, 100, 30});
    last->setTitle(String("Last"), UIControl::State::normal());
    screen->view()->addSubview(first);
    for (const auto& choice : fruit)
        screen->view()->addSubview(choice);
    screen->view()->addSubview(loner);
    screen->view()->addSubview(last);
    fruit[1]->isPreferred = true;
    window->layoutIfNeeded();
    auto& core = driver.core();
    auto focusedName = [&core]() -> std::string {
        auto focused = core.focusedView();
        if (auto choice = std::dynamic_pointer_cast<Choice>(focused))
            return choice->name;
        if (auto button = std::dynamic_pointer_cast<UIButton>(focused))
            return button->currentTitle().value_or(String()).utf8();
        return "(nothing)";
    };

    // Tab passes the group once, landing on the item it prefers; an item of no group is a stop alone.
    std::vector<std::string> round;
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(core.pressNavigating("Tab"));
        round.push_back(focusedName());
    }
    EXPECT_EQ(round, (std::vector<std::string> {"First", "banana", "loner", "Last", "First"}));
    EXPECT_TRUE(core.pressNavigating("Tab", UIKeyModifierFlags::shift()));
    EXPECT_TRUE(core.pressNavigating("Tab", UIKeyModifierFlags::shift()));
    EXPECT_EQ(focusedName(), "loner");

    // Without a preference the group is entered at its first item, going back at its last.
    fruit[1]->isPreferred = false;
    EXPECT_TRUE(core.pressNavigating("Tab", UIKeyModifierFlags::shift()));
    EXPECT_EQ(focusedName(), "cherry");
    EXPECT_TRUE(core.pressNavigating("Tab", UIKeyModifierFlags::shift()));
    EXPECT_TRUE(core.pressNavigating("Tab"));
    EXPECT_EQ(focusedName(), "apple");

    // The arrows move among the group's items and stop at its ends, before the screen's Up sees them.
    EXPECT_TRUE(core.pressNavigating("Up"));
    EXPECT_EQ(focusedName(), "apple");
    EXPECT_TRUE(core.pressNavigating("Down"));
    EXPECT_TRUE(core.pressNavigating("Right"));
    EXPECT_TRUE(core.pressNavigating("Down"));
    EXPECT_EQ(focusedName(), "cherry");
    EXPECT_TRUE(core.pressNavigating("Left"));
    EXPECT_EQ(focusedName(), "banana");
    // Return and Space press the focused item, as a tap on it does.
    EXPECT_TRUE(core.pressNavigating("Return"));
    EXPECT_TRUE(core.pressNavigating("Up"));
    EXPECT_TRUE(core.pressNavigating("Space"));
    driver.settle();
    // Hidden items are no stops: the arrows pass over them.
    fruit[1]->setIsHidden(true);
    EXPECT_TRUE(core.pressNavigating("Down"));
    EXPECT_EQ(focusedName(), "cherry");

    // Away from the group the screen's keys answer.
    ASSERT_TRUE(core.focus(last));
    EXPECT_TRUE(core.pressNavigating("Up"));
    EXPECT_EQ(g_log, (std::vector<std::string> {"chose banana", "chose apple", "screen's Up"}));
}

TEST_F(DrivenWindow, InATableWhoseArrowsOnlyPointReturnConfirmsTheRowPointedAt)
{
    auto list = make<ListAndForm>("list");
    window->setRootViewController(list);
    window->makeKeyAndVisible();
    list->table->setSelectionFollowsFocus(false);
    list->table->layoutIfNeeded();
    driver.settle();
    g_log.clear();
    auto& core = driver.core();

    // The arrows move the keyboard's row, drawn as the focus, and tell the delegate nothing.
    EXPECT_TRUE(core.pressNavigating("Down"));
    EXPECT_TRUE(core.pressNavigating("Down"));
    EXPECT_TRUE(core.pressNavigating("Down"));
    EXPECT_TRUE(core.pressNavigating("Up"));
    EXPECT_EQ(core.focusedView(), list->table);
    EXPECT_EQ(core.keyboardRowCell(), list->table->cellForRow(IndexPath::withRow(1, 0)));
    EXPECT_FALSE(list->table->indexPathForSelectedRow());
    EXPECT_TRUE(g_log.empty());

    // Return confirms it, as a click does; again on the same row, now selected, it confirms it again.
    EXPECT_TRUE(core.pressNavigating("Return"));
    EXPECT_EQ(list->table->indexPathForSelectedRow(), IndexPath::withRow(1, 0));
    EXPECT_TRUE(core.pressNavigating("Space"));
    // Moving on from a selected row starts where the arrows left off.
    EXPECT_TRUE(core.pressNavigating("Down"));
    EXPECT_EQ(core.keyboardRowCell(), list->table->cellForRow(IndexPath::withRow(2, 0)));
    EXPECT_EQ(g_log, (std::vector<std::string> {"list selected 1", "list selected 1"}));
}

} // namespace
