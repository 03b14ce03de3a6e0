#pragma once

#include "Shared/Model/Entry.Category.hpp"

#include "Basalwork/Base/CancellableResult.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/String.hpp"

#include <vector>

namespace Corvendale {

class EntriesCoordinator;

// What the item list hands up to the main coordinator: selection, the details column, the pasteboard and
// bulk changes. Held weakly.
class EntriesCoordinatorDelegate {
public:
    // Shared::RecordStore::DuplicateResult
    using DuplicateResult = Basalwork::CancellableResult<std::vector<Foundation::String>, Foundation::ErrorPtr>;

    virtual ~EntriesCoordinatorDelegate() = default;

    virtual void didUpdate(const std::vector<Foundation::String>& selectedEntryIDs, EntriesCoordinator& entriesCoordinator) = 0;
    virtual void didSelectEdit(const Foundation::String& entryID, EntriesCoordinator& entriesCoordinator) = 0;
    virtual void didSelectReplaceExistingDataWithiCloudData(EntriesCoordinator& entriesCoordinator) = 0;
    virtual void didSelectOpenInBrowser(const Foundation::String& entryID, EntriesCoordinator& entriesCoordinator) = 0;
    virtual void didSelectOpenInBrowserAndQuit(const Foundation::String& entryID, EntriesCoordinator& entriesCoordinator) = 0;
    virtual void didSelectChangeCategory(Shared::EntryCategory category, const std::vector<Foundation::String>& entryIDs,
                                         EntriesCoordinator& entriesCoordinator) = 0;

    virtual void copyUsername(const Foundation::String& ofEntryWithID) = 0;
    virtual void copyPassword(const Foundation::String& ofEntryWithID) = 0;
    virtual void copyOneTimePassword(const Foundation::String& ofEntryWithID) = 0;
    virtual void presentLargeFirstCopyablePassword(const Foundation::String& ofEntryWithID, bool animated) = 0;
    virtual void presentLargeFirstCopyableOneTimePassword(const Foundation::String& ofEntryWithID, bool animated) = 0;

    // update(isFavorite:entryIDs:), update(isArchived:entryIDs:), update(isTrashed:entryIDs:)
    virtual void updateIsFavorite(bool isFavorite, const std::vector<Foundation::String>& entryIDs) = 0;
    virtual void updateIsArchived(bool isArchived, const std::vector<Foundation::String>& entryIDs) = 0;
    virtual void updateIsTrashed(bool isTrashed, const std::vector<Foundation::String>& entryIDs) = 0;
    virtual void permanentlyDelete(const std::vector<Foundation::String>& entryIDs) = 0;
    // The outcome of a duplicate the list started: the copies' identifiers, a failure, or nothing left to copy.
    virtual void duplicate(const DuplicateResult& entryIDs, bool selectDuplicatedEntries) = 0;

    virtual void showPasswordHistory() = 0;
    virtual void hidePasswordHistory() = 0;
    // Whether the details column shows the password's history (of the item it displays).
    virtual bool isShowingPasswordHistory() const = 0;
    virtual bool isDisplayingEntry(const Foundation::String& withID) const = 0;

    // attemptPresentAddEntry(source: .category(category), inputToSelect: nil, animated:): the list starts
    // new items of a category only, and selects no input in them.
    virtual void attemptPresentAddEntry(Shared::EntryCategory source, bool animated) = 0;
    virtual void presentSettings(bool animated) = 0;
};

} // namespace Corvendale
