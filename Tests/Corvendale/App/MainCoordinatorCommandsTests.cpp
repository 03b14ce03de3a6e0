#include "Tests/Corvendale/App/MainCoordinatorFixture.hpp"

#include "Shared/Model/Entry.Filter.hpp"
#include "Shared/Model/Entry.hpp"
#include "Shared/Model/Settings.Auth.hpp"
#include "Shared/Screens/EntryDetailsVC.hpp"
#include "Shared/Stores/PreferenceStore.hpp"

#include "Platform/Foundation/Selector.hpp"
#include "Platform/UIKit/UICommand.hpp"
#include "Platform/UIKit/UIKey.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"
#include "Platform/UIKit/UIKeyboardHIDUsage.hpp"
#include "Platform/UIKit/UIPress.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UIViewController.hpp"

#include <algorithm>

using namespace Corvendale;
using Foundation::Selector;
using Foundation::String;
using CorvendaleTests::MainCoordinatorFixture;

namespace {

class MainCoordinatorCommands : public MainCoordinatorFixture {
protected:
    bool enabled(const char* selector) { return coordinator->canPerformAction(Selector(selector), nullptr); }
    // The title the menu bar shows after validation, from the title it was built with.
    String validatedTitle(const char* selector, const char* builtTitle)
    {
        auto command = Foundation::make<UIKit::UICommand>(String(builtTitle), Selector(selector));
        coordinator->validate(command);
        return command->title();
    }
    std::vector<String> keyCommandActions()
    {
        std::vector<String> actions;
        for (const auto& command : coordinator->keyCommands().value_or(std::vector<std::shared_ptr<UIKit::UIKeyCommand>> {}))
            actions.push_back(String(command->action().name()));
        return actions;
    }
    bool offers(const char* action)
    {
        auto actions = keyCommandActions();
        return std::ranges::find(actions, String(action)) != actions.end();
    }
    String addFavorite(const String& title, bool isFavorite)
    {
        auto id = add(title, "pw-" + title.utf8());
        if (isFavorite)
            store->setFavorite({id}, true);
        return id;
    }
};

const char* const singleItemCommands[] = {"handleCopyPasswordCommand:", "handleEditSelectedItemCommand", "handleShareSelectedItemCommandWithSender:"};
const char* const selectionCommands[] = {"handleFavoriteUnfavoriteSelectedItemsCommandWithSender:", "handleDuplicateSelectedItemsCommand",
                                         "handleItemArchiveCommand:", "handleItemMoveToTrashCommand:"};

TEST_F(MainCoordinatorCommands, EachCommandFollowsTheSelection)
{
    auto a = addFavorite("Alpha", false);
    auto b = addFavorite("Bravo", false);
    show();
    for (const char* always : {"handleNewLoginItemCommand", "handleSyncCommand", "handleFindCommand", "handleFilterAllItemsCommand",
                               "handleFilterTrashedItemsCommand", "selectAll:"})
        EXPECT_TRUE(enabled(always)) << always;
    EXPECT_FALSE(enabled("handleFilterFavoriteCommand")) << "no favourites yet";
    EXPECT_FALSE(enabled("handleFilterArchivedItemsCommand"));
    for (const char* selector : singleItemCommands)
        EXPECT_FALSE(enabled(selector)) << "nothing selected: " << selector;
    for (const char* selector : selectionCommands)
        EXPECT_FALSE(enabled(selector)) << "nothing selected: " << selector;

    select({a});
    for (const char* selector : singleItemCommands)
        EXPECT_TRUE(enabled(selector)) << "one item: " << selector;
    EXPECT_FALSE(enabled("handleCopyUsernameCommand:")) << "the item has no username";
    EXPECT_FALSE(enabled("handleOpenInBrowserCommand:")) << "nor a website";
    EXPECT_TRUE(offers("handleEditSelectedItemCommand"));
    EXPECT_TRUE(offers("handleCopyPasswordCommand:"));

    select({a, b});
    for (const char* selector : singleItemCommands)
        EXPECT_FALSE(enabled(selector)) << "two items: " << selector;
    for (const char* selector : selectionCommands)
        EXPECT_TRUE(enabled(selector)) << "two items: " << selector;
    EXPECT_FALSE(offers("handleEditSelectedItemCommand"));

    coordinator->setIsCollapsed(true);
    settle();
    for (const char* selector : selectionCommands)
        EXPECT_FALSE(enabled(selector)) << "collapsed: " << selector;
}

TEST_F(MainCoordinatorCommands, FavoriteAndArchiveActOnTheWholeSelectionAndSayWhatTheyWillDo)
{
    auto a = addFavorite("Alpha", true);
    auto b = addFavorite("Bravo", false);
    show();
    const char* favorite = "handleFavoriteUnfavoriteSelectedItemsCommandWithSender:";
    select({a, b});
    EXPECT_EQ(validatedTitle(favorite, "Favorite"), String("Favorite")) << "not every item is a favourite";
    EXPECT_TRUE(coordinator->perform(Selector(favorite)));
    settle();
    EXPECT_TRUE(entry(a)->isFavorite);
    EXPECT_TRUE(entry(b)->isFavorite);
    EXPECT_EQ(validatedTitle(favorite, "Favorite"), String("Unfavorite"));
    EXPECT_TRUE(coordinator->perform(Selector(favorite)));
    settle();
    EXPECT_FALSE(entry(a)->isFavorite);
    EXPECT_FALSE(entry(b)->isFavorite);

    store->setArchived({a, b}, true);
    coordinator->entriesCoordinator()->didSelectFilter(Shared::EntryFilter::archived());
    settle();
    select({a, b});
    EXPECT_EQ(validatedTitle("handleItemArchiveCommand:", "Archive"), String("Unarchive"));
    EXPECT_TRUE(coordinator->perform(Selector("handleItemArchiveCommand:")));
    settle();
    EXPECT_FALSE(entry(a)->isArchived) << "archived items only are unarchived at once";
    EXPECT_FALSE(entry(b)->isArchived);
}

TEST_F(MainCoordinatorCommands, TrashedItemsCanOnlyBeRestoredOrDeleted)
{
    auto a = addFavorite("Alpha", false);
    auto b = addFavorite("Bravo", false);
    store->setTrashed({a, b}, true);
    show();
    coordinator->entriesCoordinator()->didSelectFilter(Shared::EntryFilter::trash());
    settle();
    select({a, b});
    EXPECT_FALSE(enabled("handleFavoriteUnfavoriteSelectedItemsCommandWithSender:"));
    EXPECT_FALSE(enabled("handleDuplicateSelectedItemsCommand"));
    EXPECT_FALSE(enabled("handleItemMoveToTrashCommand:")) << "every selected item is in the trash";
    EXPECT_TRUE(enabled("handleItemRestoreCommand:"));
    EXPECT_TRUE(enabled("handleItemPermanentlyDeleteCommand:"));
    EXPECT_TRUE(coordinator->perform(Selector("handleItemRestoreCommand:")));
    settle();
    EXPECT_FALSE(entry(a)->isTrashed());
    EXPECT_FALSE(entry(b)->isTrashed());
    EXPECT_FALSE(enabled("handleItemRestoreCommand:")) << "the trash is empty now";
}

TEST_F(MainCoordinatorCommands, WhilePresentingTheWindowsCommandsWaitAndDisabledOnesDoNothing)
{
    auto a = addFavorite("Alpha", false);
    show();
    select({a});
    coordinator->present(Foundation::make<UIKit::UIViewController>(), false);
    settle();
    for (const char* selector : singleItemCommands)
        EXPECT_FALSE(enabled(selector)) << selector;
    for (const char* kept : {"handleNewLoginItemCommand", "handleSyncCommand", "handleLockCommand", "handleFindCommand"})
        EXPECT_TRUE(offers(kept)) << kept;
    EXPECT_FALSE(offers("handleEditSelectedItemCommand"));
    EXPECT_FALSE(coordinator->perform(Selector("handleEditSelectedItemCommand"))) << "its key equivalent does nothing";
    EXPECT_TRUE(details().is<State::Viewing>());
    EXPECT_TRUE(coordinator->perform(Selector("handleFindCommand")));
    EXPECT_FALSE(coordinator->entriesVC()->searchField()->isFirstResponder()) << "Find acts only while nothing is presented";
}

TEST_F(MainCoordinatorCommands, EditingTakesTheEditKeyAwayAndOffersSave)
{
    auto a = addFavorite("Alpha", false);
    show();
    select({a});
    EXPECT_FALSE(enabled("handleSaveSelectedItemCommand"));
    EXPECT_TRUE(coordinator->perform(Selector("handleEditSelectedItemCommand")));
    settle();
    ASSERT_TRUE(details().is<State::Editing>());
    EXPECT_FALSE(offers("handleEditSelectedItemCommand"));
    EXPECT_FALSE(enabled("handleDuplicateSelectedItemsCommand")) << "not while an item is edited";
    EXPECT_TRUE(enabled("handleSaveSelectedItemCommand"));
    details().editingPayload()->editingContext->setText("Alpha Two", Shared::EntrySystemField::ID::title, a);
    EXPECT_TRUE(coordinator->perform(Selector("handleSaveSelectedItemCommand")));
    settle();
    EXPECT_EQ(entry(a)->title, String("Alpha Two"));
    EXPECT_FALSE(details().isEditingCase());
}

std::vector<std::shared_ptr<UIKit::UIPress>> optionPress()
{
    auto key = Foundation::make<UIKit::UIKey>(String(), String(), UIKit::UIKeyModifierFlags::alternate(), UIKit::UIKeyboardHIDUsage::keyboardLeftAlt);
    return {Foundation::make<UIKit::UIPress>(UIKit::UIPress::Phase::began, key)};
}

TEST_F(MainCoordinatorCommands, OptionRevealsTheShownItemUntilReleasedWhileConcealingIsOn)
{
    auto a = addFavorite("Alpha", false);
    show();
    select({a});
    auto revealing = [&] { return details().concealState() && details().concealState()->isOverridingConcealment(); };
    coordinator->pressesBegan(optionPress(), nullptr);
    EXPECT_TRUE(revealing());
    coordinator->pressesEnded(optionPress(), nullptr);
    EXPECT_FALSE(revealing());

    auto withShift = Foundation::make<UIKit::UIKey>(String(), String(), UIKit::UIKeyModifierFlags::alternate() | UIKit::UIKeyModifierFlags::shift(),
                                                    UIKit::UIKeyboardHIDUsage::keyboardLeftAlt);
    coordinator->pressesBegan({Foundation::make<UIKit::UIPress>(UIKit::UIPress::Phase::began, withShift)}, nullptr);
    EXPECT_FALSE(revealing()) << "with Shift held nothing is revealed";

    CorvendaleTests::inMemoryDependencies().preferenceStore->setConcealing(Shared::Settings::Auth::Concealing::disabled);
    settle();
    coordinator->pressesBegan(optionPress(), nullptr);
    EXPECT_FALSE(revealing()) << "concealing is off";
    CorvendaleTests::inMemoryDependencies().preferenceStore->setConcealing(Shared::Settings::Auth::Concealing::enabled);
}

TEST_F(MainCoordinatorCommands, KeysReachTheListThroughTheWindow)
{
    add("Alpha");
    auto b = add("Bravo");
    add("Charlie");
    show();
    coordinator->focusList();
    driver.press("b");
    settle();
    EXPECT_EQ(selected(), std::vector<String> {b}) << "typing selects the first item that matches";
    EXPECT_EQ(details().entryID(), b);
    driver.press("n", UIKit::UIKeyModifierFlags::command());
    settle();
    EXPECT_TRUE(details().is<State::Editing>()) << "Command-N starts a new login";
    EXPECT_TRUE(selected().empty());
}

} // namespace
