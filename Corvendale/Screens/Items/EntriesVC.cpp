#include "Corvendale/Screens/Items/EntriesVC.hpp"

#include "Corvendale/Services/Dependencies.hpp"

#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Transfer/BackupStore.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/UIKit/UIViewController.hpp"

namespace Corvendale {

Shared::EntriesVC::Config currentConfig(const Shared::EntriesVC& entriesVC, const Shared::EntryFilter& filter, const Dependencies& dependencies)
{
    Shared::EntriesVC::Config config;
    config.recordStore = dependencies.recordStore;
    config.preferenceStore = dependencies.preferenceStore;
    config.authenticationState = dependencies.authenticationStore->authenticationState();
    config.filter = filter;
    config.sortMethod = dependencies.preferenceStore->sortMethod(filter);
    config.searchState = {entriesVC.searchText()};
    config.selectionMode = entriesVC.isSelectingMultiple() ? Shared::EntriesVC::Config::SelectionMode::multiple
                                                           : Shared::EntriesVC::Config::SelectionMode::single;
    return config;
}

std::vector<std::shared_ptr<Foundation::NSObject>> observeStoreChanges(const Dependencies& dependencies, std::function<void(bool animated)> update)
{
    auto center = dependencies.notificationCenter;
    auto queue = Foundation::OperationQueue::main();
    auto authenticationStore = dependencies.authenticationStore;
    auto whenUnlocked = [update, authenticationStore](bool animated) {
        return [update, authenticationStore, animated](const Foundation::Notification&) {
            if (authenticationStore->authenticationState().isAuthenticated())
                update(animated);
        };
    };
    std::vector<std::shared_ptr<Foundation::NSObject>> tokens;
    tokens.push_back(center->addObserver(Shared::RecordStore::recordStoreDidUpdateRecords(), dependencies.recordStore, queue, whenUnlocked(true)));
    tokens.push_back(center->addObserver(Shared::RecordStore::recordStoreDidPermanentlyResetLocalAndRemoteRecords(), dependencies.recordStore, queue,
                                         [update](const Foundation::Notification&) { update(true); }));
    tokens.push_back(center->addObserver(Shared::PreferenceStore::preferenceStoreDidUpdate(), dependencies.preferenceStore, queue, whenUnlocked(true)));
    tokens.push_back(center->addObserver(Shared::PreferenceStore::preferenceStoreDidActivateSafeForInspectionMode(), dependencies.preferenceStore, queue,
                                         whenUnlocked(false)));
    if (dependencies.backupStore)
        tokens.push_back(center->addObserver(Shared::BackupStore::backupStoreDidUpdateStatus(), dependencies.backupStore, queue, whenUnlocked(true)));
    return tokens;
}

void autoSelectSearchIfNeeded(const UIKit::UIViewController& owner, const std::shared_ptr<Shared::EntriesVC>& entriesVC,
                              const Dependencies& dependencies, const std::function<bool()>& mayProceed)
{
    if (!dependencies.authenticationStore->authenticationState().isAuthenticated()
        || dependencies.preferenceStore->searchFocus() != Shared::Settings::Items::SearchFocus::enabled || owner.presentedViewController()
        || (mayProceed && !mayProceed()))
        return;
    bool hasItems = false;
    try {
        hasItems = dependencies.recordStore->hasEntries();
    } catch (const Foundation::Error&) {
        // An unreadable store leaves the keyboard where it is.
    }
    if (!hasItems)
        return;
    Foundation::DispatchQueue::main()->async([weakList = std::weak_ptr<Shared::EntriesVC>(entriesVC)] {
        if (auto list = weakList.lock())
            list->focusSearch();
    });
}

} // namespace Corvendale
