#include "Corvendale/Screens/Items/EntriesCoordinator.hpp"

#include "Tests/Corvendale/Screens/Items/ItemListFixture.hpp"
#include "Tests/Corvendale/Screens/Items/UnlockedContainer.hpp"
#include "Tests/Support/Driver.hpp"

#include "Corvendale/Screens/Items/SyncStatusC.hpp"

#include "Shared/Screens/EntriesVC.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Basalwork/Interface/AlertController.hpp"
#include "Platform/Foundation/UserDefaults.hpp"
#include "Platform/UIKit/UIActivityViewController.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UITableView.Update.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <gtest/gtest.h>

using Corvendale::EntriesCoordinator;
using CorvendaleTests::describe;
using Foundation::String;
using Shared::EntryCategory;
using Shared::EntryFilter;
using Lines = std::vector<std::string>;

namespace {

// The list coordinator, counting how often the list asks for its items.
class CountingEntriesCoordinator : public EntriesCoordinator {
public:
    int itemRequests = 0;
    Shared::EntriesVCItems entryIndices(const Shared::Entry::Filter& filter, Shared::Settings::Items::SortMethod sortMethod,
                                        Shared::EntriesVC& entriesTVC) override
    {
        ++itemRequests;
        return EntriesCoordinator::entryIndices(filter, sortMethod, entriesTVC);
    }

protected:
    friend Foundation::Construct;
    CountingEntriesCoordinator() = default;
};

class EntriesCoordinatorTests : public testing::Test {
protected:
    CorvendaleTests::OfflineCloud offline;

    void SetUp() override
    {
        CorvendaleTests::prepareUnlockedEmptyContainer();
        CorvendaleTests::settleSyncs();
        auto& services = CorvendaleTests::inMemoryDependencies();
        store = services.recordStore;
        preferences = services.preferenceStore;
        for (const char* key : {EntriesCoordinator::FilterStore::selectedFilterKey, EntriesCoordinator::RecentCategoryFilters::userDefaultsKey})
            Foundation::UserDefaults::standard()->removeObject(key);
        window->setFrame({0, 0, 1000, 700});
        preferences->setSearchFocus(Shared::Settings::Items::SearchFocus::enabled);
    }

    String addItem(const String& title, EntryCategory category = EntryCategory::login)
    {
        return SharedTests::addEntry(*store, title, "", [category](auto& context, const String& id) { context.setCategory(category, id); });
    }

    std::shared_ptr<CountingEntriesCoordinator> show()
    {
        auto coordinator = Foundation::make<CountingEntriesCoordinator>();
        coordinator->setDelegate(delegate);
        window->setRootViewController(coordinator);
        window->makeKeyAndVisible();
        driver.settle();
        return coordinator;
    }

    std::vector<String> shown(const EntriesCoordinator& coordinator) const { return coordinator.entriesVC()->shownEntryIDs(); }

    std::shared_ptr<Shared::RecordStore> store;
    std::shared_ptr<Shared::PreferenceStore> preferences;
    std::shared_ptr<CorvendaleTests::RecordingEntriesCoordinatorDelegate> delegate =
        Foundation::make<CorvendaleTests::RecordingEntriesCoordinatorDelegate>();
    std::shared_ptr<UIKit::UIWindowScene> scene = Foundation::make<UIKit::UIWindowScene>();
    std::shared_ptr<UIKit::UIWindow> window = Foundation::make<UIKit::UIWindow>(scene);
    TestSupport::Driver driver {scene};
};

} // namespace

TEST_F(EntriesCoordinatorTests, TheChosenFilterShowsItsItemsAndComesBackOnTheNextLaunch)
{
    auto login = addItem("Mail");
    auto note = addItem("Diary", EntryCategory::secureNote);
    auto coordinator = show();
    EXPECT_EQ(coordinator->selectedFilter(), EntryFilter::default_());
    EXPECT_EQ(shown(*coordinator).size(), 2u);

    auto menu = coordinator->contextMenu(*coordinator->entriesVC()->titleButton());
    ASSERT_TRUE(menu);
    EXPECT_TRUE(CorvendaleTests::choose(*menu, {"Secure Note (1)"}) || CorvendaleTests::choose(*menu, {"Secure Note"}));
    driver.settle();
    EXPECT_EQ(coordinator->selectedFilter(), EntryFilter::category(EntryCategory::secureNote));
    EXPECT_EQ(shown(*coordinator), std::vector<String> {note});
    EXPECT_TRUE(Foundation::UserDefaults::standard()->object(EntriesCoordinator::FilterStore::selectedFilterKey));
    EXPECT_TRUE(Foundation::UserDefaults::standard()->object(EntriesCoordinator::RecentCategoryFilters::userDefaultsKey));

    window->setRootViewController(nullptr);
    auto relaunched = show();
    EXPECT_EQ(relaunched->selectedFilter(), EntryFilter::category(EntryCategory::secureNote));
    EXPECT_EQ(shown(*relaunched), std::vector<String> {note});
    (void)login;
}

TEST_F(EntriesCoordinatorTests, WithTenThousandItemsEachChangeIsOneDiffedUpdateAfterOneRequestAndSearchAsksNever)
{
    using Kind = UIKit::UITableView::Update::Kind;
    std::vector<Shared::Entry> entries;
    const auto now = Foundation::Date::now();
    for (int i = 0; i < 10000; ++i) {
        auto entry = Shared::Entry::make(i % 10 == 5 ? EntryCategory::secureNote : EntryCategory::login, now);
        entry.title = Foundation::String("Item " + std::to_string(i));
        entries.push_back(std::move(entry));
    }
    store->insertEntries(entries, {});
    auto coordinator = show();
    const auto& table = coordinator->entriesVC()->tableView();
    ASSERT_EQ(shown(*coordinator).size(), 10000u);
    // The updates the table received since `from`, by kind, and how many rows each touched.
    auto updatesSince = [&](std::size_t from) {
        std::vector<std::pair<Kind, std::size_t>> kinds;
        for (auto i = from; i < table->appliedUpdates().size(); ++i)
            kinds.emplace_back(table->appliedUpdates()[i].kind, table->appliedUpdates()[i].rows.size());
        return kinds;
    };
    auto rowOf = [&](const String& id) {
        auto ids = shown(*coordinator);
        return Foundation::IndexPath::withRow(std::ranges::find(ids, id) - ids.begin(), 0);
    };
    auto cellOf = [&](const String& id) { return table->cellForRow(rowOf(id)); };

    // A secure note on screen with logins above it: its row moves up, and its cell with it.
    auto note = entries[5].id;
    auto noteCell = cellOf(note);
    ASSERT_TRUE(noteCell);
    auto requests = coordinator->itemRequests;
    auto updates = table->appliedUpdates().size();
    coordinator->didSelectFilter(EntryFilter::category(EntryCategory::secureNote));
    driver.settle(); // the list reads and diffs on its worker
    EXPECT_EQ(coordinator->itemRequests, requests + 1);
    EXPECT_EQ(shown(*coordinator).size(), 1000u);
    EXPECT_EQ(updatesSince(updates), (std::vector<std::pair<Kind, std::size_t>> {{Kind::deleteRows, 9000}})) << "no reload";
    EXPECT_EQ(cellOf(note), noteCell);

    updates = table->appliedUpdates().size();
    preferences->setSortMethod(Shared::Settings::Items::SortMethod::alphabeticalDesc, EntryFilter::category(EntryCategory::secureNote));
    driver.settle();
    EXPECT_EQ(coordinator->itemRequests, requests + 2);
    EXPECT_EQ(shown(*coordinator).front(), entries[9995].id);
    auto moves = updatesSince(updates);
    EXPECT_GE(moves.size(), 999u) << "every row but one moves";
    EXPECT_TRUE(std::ranges::all_of(moves, [](const auto& update) { return update.first == Kind::moveRow; }));

    auto staying = shown(*coordinator)[1];
    ASSERT_EQ(staying, entries[9985].id);
    auto stayingCell = cellOf(staying);
    updates = table->appliedUpdates().size();
    driver.tap(coordinator->entriesVC()->searchField());
    driver.type("Item 99");
    EXPECT_EQ(coordinator->itemRequests, requests + 2) << "the list searches what it holds";
    EXPECT_EQ(shown(*coordinator).size(), 19u) << "every secure note whose title holds both words";
    auto narrowing = updatesSince(updates);
    EXPECT_FALSE(narrowing.empty());
    EXPECT_TRUE(std::ranges::all_of(narrowing, [](const auto& update) { return update.first == Kind::deleteRows; }));
    EXPECT_EQ(cellOf(staying), stayingCell);

    updates = table->appliedUpdates().size();
    driver.press("Delete");
    EXPECT_EQ(shown(*coordinator).size(), 271u) << "every secure note with a 9";
    EXPECT_EQ(updatesSince(updates), (std::vector<std::pair<Kind, std::size_t>> {{Kind::insertRows, 271 - 19}}));
}

TEST_F(EntriesCoordinatorTests, TheSearchFieldTakesTheKeyboardOncePerUnlockWithItemsAndThePreferenceOn)
{
    auto relock = [&] { CorvendaleTests::lockAndUnlock(driver); };
    auto coordinator = show();
    const auto& field = coordinator->entriesVC()->searchField();
    EXPECT_TRUE(coordinator->hasAutoSelectedSearchSinceLastAuthentication());
    EXPECT_FALSE(field->isFirstResponder()) << "nothing to search yet";

    addItem("Mail");
    preferences->setSearchFocus(Shared::Settings::Items::SearchFocus::disabled);
    relock();
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_FALSE(coordinator->hasAutoSelectedSearchSinceLastAuthentication()) << "the preference keeps the unlock's one chance";

    preferences->setSearchFocus(Shared::Settings::Items::SearchFocus::enabled);
    relock();
    EXPECT_TRUE(field->isFirstResponder());
    field->resignFirstResponder();
    coordinator->autoSelectSearchIfNeeded();
    driver.settle();
    EXPECT_FALSE(field->isFirstResponder()) << "once per unlock";
}

TEST_F(EntriesCoordinatorTests, ChangesRebuildTheListOnlyWhileUnlockedButAResetAlways)
{
    addItem("Mail");
    auto coordinator = show();
    auto before = coordinator->itemRequests;
    addItem("Bank");
    driver.settle();
    EXPECT_EQ(coordinator->itemRequests, before + 1);
    EXPECT_EQ(shown(*coordinator).size(), 2u);
}

TEST_F(EntriesCoordinatorTests, ASwipedShareAsksFirstThenOffersTheItemsTexts)
{
    auto id = addItem("Mail");
    auto coordinator = show();
    coordinator->didSwipeToShare(id, coordinator->view(), nullptr, *coordinator->entriesVC());
    driver.settle();
    EXPECT_EQ(coordinator->presentedViewController(), nullptr) << "the row closes first";
    driver.wait(0.3);
    driver.chooseAlertAction("Share in Plain Text");
    auto sheet = std::dynamic_pointer_cast<UIKit::UIActivityViewController>(coordinator->presentedViewController());
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->activityItems(), store->shareItems(id));
    driver.tap("Copy");
    EXPECT_EQ(coordinator->presentedViewController(), nullptr);

    coordinator->presentShareMenuConfirmation("no such item", coordinator->view(), false);
    driver.settle();
    EXPECT_EQ(coordinator->presentedViewController(), nullptr) << "nothing to share, nothing asked";
}

TEST_F(EntriesCoordinatorTests, TheSyncPopOverClosesOnLockAndAReplaceWithoutADelegateShowsOops)
{
    addItem("Mail");
    auto coordinator = show();
    coordinator->didSelectSyncStatusIndicator(coordinator->entriesVC()->syncStatusIndicator(), *coordinator->entriesVC());
    driver.settle();
    auto pop = std::dynamic_pointer_cast<Corvendale::SyncStatusC>(coordinator->presentedViewController());
    ASSERT_TRUE(pop);
    coordinator->didSelectReplaceExistingDataWithiCloudData(*pop);
    EXPECT_EQ(delegate->calls, (Lines {"didSelectReplaceExistingDataWithiCloudData"}));

    auto& services = CorvendaleTests::inMemoryDependencies();
    EXPECT_TRUE(coordinator->hasAutoSelectedSearchSinceLastAuthentication());
    services.authenticationStore->lock(Shared::AuthenticationStore::LockKind::requireMasterPassword, false, std::nullopt, "test");
    driver.settle();
    EXPECT_EQ(coordinator->presentedViewController(), nullptr);
    EXPECT_FALSE(coordinator->hasAutoSelectedSearchSinceLastAuthentication());
    CorvendaleTests::unlockVault();
    driver.settle();
    EXPECT_TRUE(coordinator->hasAutoSelectedSearchSinceLastAuthentication());
    EXPECT_TRUE(coordinator->entriesVC()->searchField()->isFirstResponder()) << "focused again after the unlock";

    coordinator->setDelegate(nullptr);
    coordinator->didSelectReplaceExistingDataWithiCloudData(*pop);
    driver.settle();
    auto alert = std::dynamic_pointer_cast<UIKit::UIAlertController>(coordinator->presentedViewController());
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), String("Oops!"));
}
