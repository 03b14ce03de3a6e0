#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/UIKit/UIAction.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIApplicationDelegate.hpp"
#include "Platform/UIKit/UIEventDriver.hpp"
#include "Platform/UIKit/UIKey.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIMenu.hpp"
#include "Platform/UIKit/UIMenuBuilder.hpp"
#include "Platform/UIKit/UIMenuSystem.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <gtest/gtest.h>

#include <algorithm>

using namespace UIKit;
using Foundation::make;
using Foundation::Selector;
using Id = UIMenu::Identifier;

namespace {

std::vector<std::string> g_calls;

// The responder of last resort: builds the menu bar and answers the lock commands while unlocked.
class Delegate : public UIResponder, public UIApplicationDelegate {
public:
    bool unlocked = true;
    bool pinned = false;
    std::vector<std::string> validated;

    void handleLockCommand() { g_calls.push_back("lock"); }
    void handlePinCommand() { pinned = !pinned; }

    bool canPerformAction(Selector action, const std::shared_ptr<Foundation::NSObject>& sender) override
    {
        if (action == Selector("handleLockCommand"))
            return unlocked;
        return UIResponder::canPerformAction(action, sender);
    }
    void validate(const std::shared_ptr<UICommand>& command) override
    {
        validated.push_back(command->action().name());
        if (command->action() == Selector("handlePinCommand"))
            command->setState(pinned ? UIMenuElement::State::on : UIMenuElement::State::off);
        UIResponder::validate(command);
    }
    void buildMenu(UIMenuBuilder& builder) override
    {
        if (builder.system() != UIMenuSystem::main())
            return;
        builder.remove(Id::format());
        builder.insertChildAtEndOfMenu(
            make<UIMenu>("", Id("test.menu.lock"), UIMenu::Options::displayInline(),
                         std::vector<std::shared_ptr<UIMenuElement>> {
                             make<UIKeyCommand>("Lock", Selector("handleLockCommand"), "L", UIKeyModifierFlags::command()),
                             make<UICommand>("Keep Window Pinned", Selector("handlePinCommand")),
                             make<UICommand>("Nobody Answers", Selector("handleNothingCommand")),
                         }),
            Id::file());
        builder.insertSiblingAfterMenu(make<UIMenu>("Item", Id("test.menu.item"), UIMenu::Options(),
                                                    std::vector<std::shared_ptr<UIMenuElement>> {make<UIAction>(
                                                        "Sort", [](const auto&) { g_calls.push_back("sort"); })}),
                                       Id::view());
        ++builds;
    }
    int builds = 0;

protected:
    friend Foundation::Construct;
    Delegate() = default;
};

const bool registered = [] {
    Foundation::MethodTable::add(Selector("handleLockCommand"), &Delegate::handleLockCommand);
    Foundation::MethodTable::add(Selector("handlePinCommand"), &Delegate::handlePinCommand);
    return true;
}();

// A field that offers its own key commands and answers one action itself.
class SearchField : public UITextField {
public:
    std::optional<std::vector<std::shared_ptr<UIKeyCommand>>> keyCommands() const override
    {
        auto escape = make<UIKeyCommand>(UIKeyCommand::inputEscape(), UIKeyModifierFlags(), Selector("endSearch"));
        auto up = make<UIKeyCommand>(UIKeyCommand::inputUpArrow(), UIKeyModifierFlags(), Selector("moveUp"));
        auto priorityUp = make<UIKeyCommand>(UIKeyCommand::inputUpArrow(), UIKeyModifierFlags::shift(), Selector("moveUp"));
        priorityUp->setWantsPriorityOverSystemBehavior(true);
        return std::vector {escape, up, priorityUp};
    }
    void endSearch() { g_calls.push_back("endSearch"); }
    void moveUp() { g_calls.push_back("moveUp"); }

protected:
    friend Foundation::Construct;
    SearchField() = default;
};

const bool fieldRegistered = [] {
    Foundation::MethodTable::add(Selector("endSearch"), &SearchField::endSearch);
    Foundation::MethodTable::add(Selector("moveUp"), &SearchField::moveUp);
    return true;
}();

std::shared_ptr<UIKey> key(const char* characters, UIKeyModifierFlags flags = {}, std::int64_t code = 4)
{
    return make<UIKey>(characters, characters, flags, static_cast<UIKeyboardHIDUsage>(code));
}

std::shared_ptr<UIMenuElement> child(const std::shared_ptr<UIMenu>& menu, const Foundation::String& title)
{
    for (const auto& element : menu->children())
        if (element->title() == title)
            return element;
    return nullptr;
}

class Commands : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(registered && fieldRegistered);
        g_calls.clear();
        UIApplication::shared()->setDelegate(delegate);
        UIMenuSystem::main()->setNeedsRebuild();
        window->makeKeyAndVisible();
        window->addSubview(field);
    }
    void TearDown() override { UIApplication::shared()->setDelegate(nullptr); }

    std::shared_ptr<UIMenu> fileGroup()
    {
        auto file = std::dynamic_pointer_cast<UIMenu>(child(UIMenuSystem::main()->mainMenu(), "File"));
        auto shown = UIMenuSystem::main()->validated(file);
        return std::dynamic_pointer_cast<UIMenu>(shown->children().back());
    }

    std::shared_ptr<Delegate> delegate = make<Delegate>();
    std::shared_ptr<UIWindowScene> scene = make<UIWindowScene>();
    std::shared_ptr<UIWindow> window = make<UIWindow>(scene);
    std::shared_ptr<SearchField> field = make<SearchField>();
};

} // namespace

TEST_F(Commands, ActionsGoToTheFirstResponderAlongTheChainThatCanPerformThem)
{
    ASSERT_TRUE(field->becomeFirstResponder());
    EXPECT_EQ(field->target(Selector("handleLockCommand"), nullptr), delegate);
    EXPECT_EQ(field->target(Selector("endSearch"), nullptr), field);
    EXPECT_TRUE(UIApplication::shared()->sendAction(Selector("handleLockCommand"), nullptr, nullptr, nullptr));

    delegate->unlocked = false;
    EXPECT_EQ(field->target(Selector("handleLockCommand"), nullptr), nullptr);
    EXPECT_FALSE(UIApplication::shared()->sendAction(Selector("handleLockCommand"), nullptr, nullptr, nullptr));
    // A named target gets the action whatever the chain says.
    EXPECT_TRUE(UIApplication::shared()->sendAction(Selector("handleLockCommand"), delegate, nullptr, nullptr));
    EXPECT_FALSE(UIApplication::shared()->sendAction(Selector("endSearch"), delegate, nullptr, nullptr));
    EXPECT_EQ(g_calls, (std::vector<std::string> {"lock", "lock"}));
}

TEST_F(Commands, TheMenuBarStartsFromTheSystemMenusAndIsBuiltAgainOnRequest)
{
    auto bar = UIMenuSystem::main()->mainMenu();
    EXPECT_EQ(bar->identifier(), Id::root());
    std::vector<Foundation::String> titles;
    for (const auto& menu : bar->children())
        titles.push_back(menu->title());
    EXPECT_EQ(titles, (std::vector<Foundation::String> {titles.front(), "File", "Edit", "View", "Item", "Window", "Help"}));
    EXPECT_EQ(UIMenuSystem::main()->mainMenu(), bar);
    EXPECT_EQ(delegate->builds, 1);

    UIMenuSystem::main()->setNeedsRebuild();
    EXPECT_NE(UIMenuSystem::main()->mainMenu(), bar);
    EXPECT_EQ(delegate->builds, 2);

    auto builder = make<UIMenuBuilder>(UIMenuSystem::main(), bar);
    EXPECT_DEATH(builder->insertChildAtEndOfMenu(make<UIMenu>("", Id::edit(), UIMenu::Options(),
                                                              std::vector<std::shared_ptr<UIMenuElement>> {}),
                                                 Id::help()),
                 "already in use");
    builder->remove(Id("no.such.menu"));
    EXPECT_EQ(builder->root(), bar);
}

TEST_F(Commands, CommandsShowValidatedByTheirTargetAndDisabledWithoutOne)
{
    auto group = fileGroup();
    auto lock = std::dynamic_pointer_cast<UICommand>(child(group, "Lock"));
    auto pin = std::dynamic_pointer_cast<UICommand>(child(group, "Keep Window Pinned"));
    auto nobody = std::dynamic_pointer_cast<UICommand>(child(group, "Nobody Answers"));
    EXPECT_FALSE(lock->attributes().contains(UIMenuElement::Attributes::disabled()));
    EXPECT_EQ(pin->state(), UIMenuElement::State::off);
    EXPECT_TRUE(nobody->attributes().contains(UIMenuElement::Attributes::disabled()));
    EXPECT_FALSE(UIMenuSystem::main()->perform(nobody));

    EXPECT_TRUE(UIMenuSystem::main()->perform(pin));
    EXPECT_EQ(std::dynamic_pointer_cast<UICommand>(child(fileGroup(), "Keep Window Pinned"))->state(), UIMenuElement::State::on);

    delegate->unlocked = false;
    auto refused = std::dynamic_pointer_cast<UICommand>(child(fileGroup(), "Lock"));
    EXPECT_TRUE(refused->attributes().contains(UIMenuElement::Attributes::disabled()));
    EXPECT_FALSE(UIMenuSystem::main()->perform(refused));

    auto item = std::dynamic_pointer_cast<UIMenu>(child(UIMenuSystem::main()->mainMenu(), "Item"));
    EXPECT_TRUE(UIMenuSystem::main()->perform(item->children().front()));
    EXPECT_EQ(g_calls, std::vector<std::string> {"sort"});
}

TEST_F(Commands, KeysMatchTheChainsKeyCommandsDeepestFirstThenTheMenuBar)
{
    ASSERT_TRUE(field->becomeFirstResponder());
    UIEventDriver::pressKey(key("UIKeyInputEscape", {}, 41));
    UIEventDriver::pressKey(key("l", UIKeyModifierFlags::command()));
    // The field edits with a plain arrow; only the command that asks for priority takes it first.
    UIEventDriver::pressKey(key("UIKeyInputUpArrow", {}, 82));
    UIEventDriver::pressKey(key("UIKeyInputUpArrow", UIKeyModifierFlags::shift(), 82));
    EXPECT_EQ(g_calls, (std::vector<std::string> {"endSearch", "lock", "moveUp"}));
    EXPECT_EQ(field->text(), "");

    // Refused by the chain, the key goes on to the field, which does not type shortcuts.
    delegate->unlocked = false;
    UIEventDriver::pressKey(key("l", UIKeyModifierFlags::command()));
    UIEventDriver::pressKey(key("l"));
    EXPECT_EQ(g_calls.size(), 3u);
    EXPECT_EQ(field->text(), "l");
}

// Validating a command may cost its target a read of a store: a key press asks only the commands of the
// menu bar that its key could perform, and typing into a field asks none.
TEST_F(Commands, AKeyPressValidatesOnlyTheMenuBarCommandsItsKeyMatches)
{
    ASSERT_TRUE(field->becomeFirstResponder());
    UIEventDriver::pressKey(key("q"));
    EXPECT_EQ(field->text(), "q");
    EXPECT_TRUE(delegate->validated.empty());
    UIEventDriver::pressKey(key("l", UIKeyModifierFlags::command()));
    EXPECT_EQ(delegate->validated, std::vector<std::string> {"handleLockCommand"});
    EXPECT_EQ(g_calls, std::vector<std::string> {"lock"});
    EXPECT_FALSE(std::dynamic_pointer_cast<UICommand>(child(fileGroup(), "Lock"))->attributes().contains(UIMenuElement::Attributes::disabled()))
        << "a menu that shows is validated whole";
    EXPECT_NE(std::ranges::find(delegate->validated, "handlePinCommand"), delegate->validated.end());
}
