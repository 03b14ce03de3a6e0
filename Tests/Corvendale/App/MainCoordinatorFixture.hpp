#pragma once

#include "Tests/Corvendale/App/AppFixture.hpp"
#include "Tests/Corvendale/Screens/Items/UnlockedContainer.hpp"
#include "Tests/Shared/Stores/RecordStoreFixture.hpp"
#include "Tests/Support/Driver.hpp"
#include "Tests/Support/MainLoop.hpp"

#include "Corvendale/App/InAppNotificationC.hpp"
#include "Corvendale/App/MainCoordinator.hpp"
#include "Corvendale/App/MainCoordinatorDelegate.hpp"
#include "Corvendale/Screens/Details/EntryDetailsCoordinator.hpp"
#include "Corvendale/Screens/Items/EntriesCoordinator.hpp"

#include "Corvendale/Services/SyncCoordinator.hpp"
#include "Shared/Screens/EntriesVC.hpp"
#include "Shared/Screens/EntryDetailsVC.State.hpp"
#include "Shared/Stores/RecordStore.EditingContext.hpp"
#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Syncwright/SyncStatus.hpp"

#include "Platform/CloudKit/CKSimulation.hpp"
#include "Platform/Foundation/UserDefaults.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <gtest/gtest.h>

namespace CorvendaleTests {

class MainCoordinatorScene : public Corvendale::MainCoordinatorDelegate {
public:
    std::shared_ptr<Corvendale::InAppNotificationC> inAppNotificationC() const override { return banners; }
    void didSelectReplaceExistingDataWithiCloudData(Corvendale::MainCoordinator&) override { ++replaceRequests; }

    std::shared_ptr<Corvendale::InAppNotificationC> banners;
    int replaceRequests = 0;
};

// The unlocked window's root in a window of its own, over an empty unlocked vault.
class MainCoordinatorFixture : public testing::Test {
protected:
    using State = Shared::EntryDetailsVCState;

    OfflineCloud offline;

    void SetUp() override
    {
        prepareUnlockedEmptyContainer();
        settle();
        store = inMemoryDependencies().recordStore;
        for (const char* key : {Corvendale::MainCoordinator::mostRecentPrimaryColumnWidthKey,
                                Corvendale::EntriesCoordinatorFilterStore::selectedFilterKey})
            Foundation::UserDefaults::standard()->removeObject(key);
        window->setFrame({0, 0, 1000, 700});
        auto bannerWindow = Foundation::make<UIKit::UIWindow>(scene);
        bannerWindow->setFrame({0, 0, 1000, 700});
        delegate->banners = Foundation::make<Corvendale::InAppNotificationC>(bannerWindow);
    }


    // The actions start syncs on the remote's own threads.
    static void settle() { settleSyncs(); }

    std::shared_ptr<Corvendale::MainCoordinator> show()
    {
        coordinator = Foundation::make<Corvendale::MainCoordinator>();
        coordinator->setCoordinatingDelegate(delegate);
        window->setRootViewController(coordinator);
        window->makeKeyAndVisible();
        settle();
        return coordinator;
    }

    Foundation::String add(const Foundation::String& title, const Foundation::String& password = "")
    {
        return SharedTests::addEntry(*store, title, password);
    }
    void select(const std::vector<Foundation::String>& ids)
    {
        coordinator->entriesVC()->select(ids, false);
        settle();
    }
    std::vector<Foundation::String> selected() const { return coordinator->entriesVC()->selectedEntryIDs(); }
    std::vector<Foundation::String> shown() const { return coordinator->entriesVC()->shownEntryIDs(); }
    const State& details() const { return coordinator->entryDetailsCoordinator()->state(); }
    std::optional<Shared::Entry> entry(const Foundation::String& id) const { return store->entry(id); }

    std::shared_ptr<Shared::RecordStore> store;
    std::shared_ptr<MainCoordinatorScene> delegate = std::make_shared<MainCoordinatorScene>();
    std::shared_ptr<UIKit::UIWindowScene> scene = Foundation::make<UIKit::UIWindowScene>();
    std::shared_ptr<UIKit::UIWindow> window = Foundation::make<UIKit::UIWindow>(scene);
    TestSupport::Driver driver {scene};
    std::shared_ptr<Corvendale::MainCoordinator> coordinator;
};

} // namespace CorvendaleTests
