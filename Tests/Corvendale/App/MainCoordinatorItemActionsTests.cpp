#include "Tests/Corvendale/App/MainCoordinatorFixture.hpp"

#include "Corvendale/Screens/Details/EntryDetailsCoordinator.hpp"
#include "Corvendale/Screens/Items/EntrySelectionC.hpp"

#include "Shared/Model/Entry.Filter.hpp"
#include "Shared/Model/Entry.SystemField.hpp"
#include "Shared/Model/Entry.hpp"

#include "Tests/Support/MainLoop.hpp"

#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/URL.hpp"
#include "Platform/UIKit/UIAlertAction.hpp"
#include "Platform/UIKit/UIAlertController.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UITextField.hpp"

using namespace Corvendale;
using Foundation::String;
using CorvendaleTests::MainCoordinatorFixture;

namespace {

using MainCoordinatorItemActions = MainCoordinatorFixture;

TEST_F(MainCoordinatorItemActions, TheListsSelectionDecidesWhatTheDetailsShow)
{
    auto a = add("Alpha");
    auto b = add("Bravo");
    show();
    EXPECT_TRUE(details().is<State::Empty>());

    select({a});
    ASSERT_TRUE(details().is<State::Viewing>());
    EXPECT_EQ(details().entryID(), a);
    EXPECT_TRUE(coordinator->isDisplayingEntry(a));
    EXPECT_FALSE(coordinator->isDisplayingEntry(b));

    select({a, b});
    ASSERT_TRUE(details().is<State::MultipleSelection>()) << "two items, one of them viewed before";
    EXPECT_EQ(details().as<State::MultipleSelection>()->entryIDs, (std::vector<String> {a, b}));

    select({});
    EXPECT_TRUE(details().is<State::Empty>());

    coordinator->entriesVC()->setSelectingMultiple(true, false);
    select({b});
    EXPECT_TRUE(details().is<State::MultipleSelection>()) << "one item while selecting several";
}

TEST_F(MainCoordinatorItemActions, TheSelectionAfterActingIsTheNearestItemLeft)
{
    const std::vector<String> shown {"a", "b", "c", "d"};
    EXPECT_EQ(MainCoordinator::selectionAfterActing(shown, {"b"}), String("c"));
    EXPECT_EQ(MainCoordinator::selectionAfterActing(shown, {"b", "c"}), String("d"));
    EXPECT_EQ(MainCoordinator::selectionAfterActing(shown, {"d"}), String("c")) << "the last one falls back to the one above";
    EXPECT_EQ(MainCoordinator::selectionAfterActing(shown, {"c", "d"}), String("b"));
    EXPECT_EQ(MainCoordinator::selectionAfterActing(shown, {"x"}), String("a")) << "an item not shown leaves the first shown";
    EXPECT_EQ(MainCoordinator::selectionAfterActing(shown, {"a", "b", "c", "d"}), std::nullopt);
    EXPECT_EQ(MainCoordinator::selectionAfterActing(shown, {}), std::nullopt);
    EXPECT_EQ(MainCoordinator::selectionAfterActing({}, {"a"}), std::nullopt);
}

TEST_F(MainCoordinatorItemActions, TrashingSelectsANeighbourAndTrashingTheLastItemGivesTheListTheFocus)
{
    auto a = add("Alpha");
    auto b = add("Bravo");
    auto c = add("Charlie");
    show();
    select({b});
    coordinator->updateIsTrashed(true, {b});
    settle();
    EXPECT_TRUE(entry(b)->isTrashed());
    EXPECT_EQ(shown(), (std::vector<String> {a, c}));
    EXPECT_EQ(selected(), std::vector<String> {c});
    EXPECT_EQ(details().entryID(), c) << "the details follow the new selection";

    coordinator->updateIsTrashed(true, {a, c});
    settle();
    EXPECT_TRUE(shown().empty());
    EXPECT_TRUE(selected().empty());
    EXPECT_TRUE(coordinator->entriesVC()->isFirstResponder());

    coordinator->updateIsTrashed(false, {a, b, c});
    settle();
    EXPECT_EQ(shown().size(), 3u) << "restored";
    coordinator->updateIsArchived(true, {a});
    coordinator->permanentlyDelete({c});
    settle();
    EXPECT_TRUE(entry(a)->isArchived);
    EXPECT_FALSE(entry(c));
    EXPECT_EQ(shown(), std::vector<String> {b});
}

TEST_F(MainCoordinatorItemActions, AThousandSelectedItemsGoToTheTrashInOneChange)
{
    std::vector<Shared::Entry> entries;
    std::vector<String> ids;
    const auto now = Foundation::Date::now();
    for (int i = 0; i < 1000; ++i) {
        auto item = Shared::Entry::make(Shared::EntryCategory::login, now);
        item.title = String("Item " + std::to_string(1000 + i));
        ids.push_back(item.id);
        entries.push_back(std::move(item));
    }
    store->insertEntries(entries, {});
    show();
    coordinator->entriesVC()->setSelectingMultiple(true, false);
    select(ids);
    ASSERT_EQ(selected().size(), 1000u);
    int changes = 0;
    auto observer = CorvendaleTests::inMemoryDependencies().notificationCenter->addObserver(
        Shared::RecordStore::recordStoreDidUpdateRecords(), store, nullptr, [&](const Foundation::Notification&) { ++changes; });
    coordinator->updateIsTrashed(true, ids);
    settle();
    CorvendaleTests::inMemoryDependencies().notificationCenter->removeObserver(observer);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(store->count(Shared::EntryFilter::trash()), 1000);
    EXPECT_TRUE(shown().empty());
}

TEST_F(MainCoordinatorItemActions, InACollapsedSplitViewTheSheetClosesFirstAndTheActionRunsOnce)
{
    auto a = add("Alpha");
    add("Bravo");
    show();
    coordinator->setIsCollapsed(true);
    settle();
    select({a});
    ASSERT_EQ(coordinator->presentedViewController(), coordinator->entryDetailsCoordinator()) << "the details stand on their own";
    coordinator->updateIsArchived(true, {a});
    settle();
    EXPECT_EQ(coordinator->presentedViewController(), nullptr);
    EXPECT_TRUE(entry(a)->isArchived);
    coordinator->updateIsArchived(false, {a});
    settle();
    EXPECT_FALSE(entry(a)->isArchived) << "acted on once each time";
}

TEST_F(MainCoordinatorItemActions, SelectingAnotherItemSavesTheEditsFirst)
{
    auto a = add("Alpha");
    auto b = add("Bravo");
    show();
    select({a});
    coordinator->didSelectEdit(a, *coordinator->entriesCoordinator());
    const auto* editing = details().editingPayload();
    ASSERT_NE(editing, nullptr);
    editing->editingContext->setText("Alpha Two", Shared::EntrySystemField::ID::title, a);
    select({b});
    EXPECT_EQ(entry(a)->title, String("Alpha Two"));
    EXPECT_TRUE(details().is<State::Viewing>());
    EXPECT_EQ(details().entryID(), b);
}

TEST_F(MainCoordinatorItemActions, ANewLoginItemOpensForEditingAndDuplicatesAreSelected)
{
    auto a = add("Alpha");
    show();
    select({a});
    coordinator->presentNewLoginItem();
    settle();
    const auto* editing = details().as<State::Editing>();
    ASSERT_NE(editing, nullptr);
    EXPECT_NE(editing->entryID, a);
    EXPECT_EQ(editing->emptyLoginFields, Shared::EntryDetailsVCEmptyLoginFieldsVisibility::visible);
    EXPECT_TRUE(selected().empty()) << "the list lets go of its selection";
    EXPECT_FALSE(entry(editing->entryID)) << "nothing is stored before it is saved";

    auto copies = store->duplicate({a});
    ASSERT_TRUE(copies.successValue());
    settle();
    coordinator->duplicate(copies, true);
    settle();
    EXPECT_EQ(selected(), *copies.successValue());
}

TEST_F(MainCoordinatorItemActions, TagRemovalPassesTheTagsOnAndCancelChangesNothing)
{
    auto a = SharedTests::addEntry(*store, "Alpha", "", [](auto& context, const String& id) {
        context.setText("work, home", Shared::EntrySystemField::ID::tags, id);
    });
    show();
    auto shownAlert = [&] {
        coordinator->presentRemoveTagsFromAllItems(false);
        return std::dynamic_pointer_cast<UIKit::UIAlertController>(coordinator->presentedViewController());
    };
    auto choose = [&](UIKit::UIAlertController& alert, const String& title) {
        for (const auto& action : alert.actions())
            if (action->title() == title)
                alert.choose(action);
        driver.wait(1);
    };
    auto alert = shownAlert();
    ASSERT_NE(alert, nullptr);
    choose(*alert, "Cancel");
    EXPECT_EQ(entry(a)->tags.size(), 2u);
    alert = shownAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->textFields().front()->placeholder(), String("i.e. \"Tag1, tag2, tag 3\""));
    alert->textFields().front()->setText(" work ,");
    choose(*alert, "Remove from All Items");
    EXPECT_EQ(entry(a)->tags, std::vector<String> {"home"});
}

TEST_F(MainCoordinatorItemActions, AnOneTimePasswordLinkGoesToTheEditedItemOrToThePicker)
{
    auto a = add("Alpha");
    show();
    auto link = *Foundation::URL::string("otpauth://totp/Example:ada?secret=JBSWY3DPEHPK3PXP&issuer=Example");
    coordinator->openImportableFile(link);
    TestSupport::advanceClock(0.4);
    EXPECT_EQ(coordinator->presentedViewController(), nullptr) << "half a second later";
    TestSupport::advanceClock(0.2);
    EXPECT_TRUE(std::dynamic_pointer_cast<EntrySelectionC>(coordinator->presentedViewController()));
    coordinator->entrySelectionCDidCancel();
    settle();
    EXPECT_EQ(coordinator->presentedViewController(), nullptr);

    select({a});
    coordinator->didSelectEdit(a, *coordinator->entriesCoordinator());
    coordinator->openImportableFile(link);
    TestSupport::advanceClock(0.6);
    EXPECT_EQ(coordinator->presentedViewController(), nullptr);
    ASSERT_TRUE(details().isEditingCase());
    EXPECT_EQ(details().entry()->totpSecretKey, link.absoluteString());
}

TEST_F(MainCoordinatorItemActions, OpeningTheWebsiteOfAnItemWithoutOneDoesNothing)
{
    auto a = add("Alpha");
    show();
    auto application = UIKit::UIApplication::shared();
    auto before = application->openedURLs().size();
    coordinator->didSelectOpenInBrowserAndQuit(a, *coordinator->entriesCoordinator());
    EXPECT_EQ(application->openedURLs().size(), before);
    coordinator->didSelectReplaceExistingDataWithiCloudData(*coordinator->entriesCoordinator());
    EXPECT_EQ(delegate->replaceRequests, 1) << "passed up to the scene";
}

} // namespace
