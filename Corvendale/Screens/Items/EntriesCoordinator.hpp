#pragma once

#include "Corvendale/Screens/Items/EntriesCoordinator.FilterStore.hpp"
#include "Corvendale/Screens/Items/EntriesCoordinator.Menus.hpp"
#include "Corvendale/Screens/Items/EntriesCoordinator.RecentCategoryFilters.hpp"
#include "Corvendale/Screens/Items/EntriesCoordinator.SelectionCache.hpp"
#include "Corvendale/Screens/Items/SyncStatusCDelegate.hpp"
#include "Corvendale/Services/UnexpectedErrorHandling.hpp"

#include "Shared/Screens/EntriesVCDelegate.hpp"

#include "Basalwork/Interface/CoordinatingViewController.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace Shared {
class Entry;
class EntriesVC;
} // namespace Shared

namespace Corvendale {

class EntriesCoordinatorDelegate;

// The left column of the unlocked window: embeds the item list, decides what it shows (filter, sort
// order, sync status, selection), keeps the chosen filter, answers the list's requests and hands what
// touches the details, the pasteboard or bulk changes to its delegate, the main coordinator.
class EntriesCoordinator : public Basalwork::CoordinatingViewController,
                           public UnexpectedErrorHandling,
                           public Shared::EntriesVCDelegate,
                           public SyncStatusCDelegate,
                           public EntriesCoordinatorMenus::Host {
public:
    using RecentCategoryFilters = EntriesCoordinatorRecentCategoryFilters;
    using SelectionCache = EntriesCoordinatorSelectionCache;
    using FilterStore = EntriesCoordinatorFilterStore;
    using Menus = EntriesCoordinatorMenus;

    std::shared_ptr<EntriesCoordinatorDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<EntriesCoordinatorDelegate>& delegate) { m_delegate = delegate; }
    const std::shared_ptr<Shared::EntriesVC>& entriesVC() const { return m_entriesVC; }
    bool hasAutoSelectedSearchSinceLastAuthentication() const { return m_hasAutoSelectedSearchSinceLastAuthentication; }

    // Read once from the user defaults; every write keeps it and the recent category filters there.
    const Shared::EntryFilter& selectedFilter() const { return m_filterStore.selectedFilter(); }
    void setSelectedFilter(const Shared::EntryFilter& filter) { m_filterStore.setSelectedFilter(filter); }
    // Made on first use over the record store.
    const std::shared_ptr<SelectionCache>& selectionCache();

    ~EntriesCoordinator() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    // Rebuilds the list's configuration and hands it over; one that cannot be built is dropped.
    void updateView(bool animated);
    void authenticationStateDidUpdate();
    // Focuses the search field once per unlock, when the store holds items.
    void autoSelectSearchIfNeeded();
    // Beside the details, the list keeps an item selected.
    void selectFirstEntryIfNeeded(bool animated, bool scrollToSelection);
    void presentShareMenuConfirmation(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView, bool animated);
    void presentShareMenu(const Shared::Entry& entry, const std::shared_ptr<UIKit::UIView>& sourceView, bool animated);
    // The list's own flows (with their confirmations) for the window's commands.
    void duplicateSelectedItems();
    void archive(const std::vector<Foundation::String>& entryIDs);
    void moveToTrash(const std::vector<Foundation::String>& entryIDs);
    void deletePermanently(const std::vector<Foundation::String>& entryIDs);

    // UnexpectedErrorHandling
    void presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated,
                               std::function<void()> completion) override;

    // EntriesTVCDelegate
    bool canShowEntries(Shared::EntriesVC& entriesTVC) override;
    Shared::Settings::Items::SortMethod sortMethod(const Shared::Entry::Filter& filter, Shared::EntriesVC& entriesTVC) override;
    Shared::EntriesVCItems entryIndices(const Shared::Entry::Filter& filter, Shared::Settings::Items::SortMethod sortMethod,
                                                 Shared::EntriesVC& entriesTVC) override;
    void didUpdateSearchText(Shared::EntriesVC& entriesTVC) override;
    void didUpdate(const std::vector<Foundation::String>& selectedEntryIDs, bool shouldUpdateDetails, Shared::EntriesVC& entriesTVC) override;
    std::shared_ptr<UIKit::UIMenu> contextMenu(const std::vector<Foundation::String>& entryIDs, const std::shared_ptr<UIKit::UIView>& sourceView,
                                               Shared::EntriesVC& entriesTVC) override;
    void didRequestSearchFocus(Shared::EntriesVC& entriesTVC) override;
    void needsUpdate(Shared::EntriesVC& entriesTVC) override;
    std::optional<Foundation::String> username(const Foundation::String& entryID, Shared::EntriesVC& entriesTVC) override;
    void copyUsername(const Foundation::String& entryID, SwipeCompletion completion, Shared::EntriesVC& entriesTVC) override;
    std::optional<Foundation::String> password(const Foundation::String& entryID, Shared::EntriesVC& entriesTVC) override;
    void copyPassword(const Foundation::String& entryID, SwipeCompletion completion, Shared::EntriesVC& entriesTVC) override;
    std::optional<Foundation::String> oneTimePassword(const Foundation::String& entryID, Shared::EntriesVC& entriesTVC) override;
    void copyOneTimePassword(const Foundation::String& entryID, SwipeCompletion completion, Shared::EntriesVC& entriesTVC) override;
    bool allowsLeadingSwipeActions(Shared::EntriesVC& entriesTVC) override;
    bool allowsTrailingSwipeActions(Shared::EntriesVC& entriesTVC) override;
    void didSwipeToFavorite(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView, SwipeCompletion completion,
                            Shared::EntriesVC& entriesTVC) override;
    void didSwipeToUnfavorite(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView, SwipeCompletion completion,
                              Shared::EntriesVC& entriesTVC) override;
    void didSwipeToDuplicate(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView, SwipeCompletion completion,
                             Shared::EntriesVC& entriesTVC) override;
    void didSwipeToShare(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView, SwipeCompletion completion,
                         Shared::EntriesVC& entriesTVC) override;
    void didSwipeToArchive(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView, SwipeCompletion completion,
                           Shared::EntriesVC& entriesTVC) override;
    void didSwipeToUnarchive(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView, SwipeCompletion completion,
                             Shared::EntriesVC& entriesTVC) override;
    void didSwipeToMoveToTrash(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView, SwipeCompletion completion,
                               Shared::EntriesVC& entriesTVC) override;
    void didSwipeToRestore(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView, SwipeCompletion completion,
                           Shared::EntriesVC& entriesTVC) override;
    void didSwipeToDeletePermanently(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView, SwipeCompletion completion,
                                     Shared::EntriesVC& entriesTVC) override;
    // EntriesVDelegate
    bool isBeingDisplayedInExpandedSplitView(Shared::EntriesVC& entriesV) override;
    // EntriesVHeaderVDelegate
    void didSelectSyncStatusIndicator(const std::shared_ptr<UIKit::UIView>& sourceView, Shared::EntriesVC& entriesV) override;
    void didSelectSettings(const std::shared_ptr<UIKit::UIView>& sourceView, Shared::EntriesVC& entriesV) override;
    void didSelectSelect(Shared::EntriesVC& entriesV) override;
    void didSelectCancel(Shared::EntriesVC& entriesV) override;
    // EntriesV_EditingControlsV_Delegate
    void didSelectDone(Shared::EntriesVC& entriesV) override;
    void didSelectSelectAll(Shared::EntriesVC& entriesV) override;
    void didSelectDeselectAll(Shared::EntriesVC& entriesV) override;
    void didSelectFavorite(const std::shared_ptr<UIKit::UIView>& sourceView, Shared::EntriesVC& entriesV) override;
    void didSelectUnfavorite(const std::shared_ptr<UIKit::UIView>& sourceView, Shared::EntriesVC& entriesV) override;
    void didSelectDuplicate(const std::shared_ptr<UIKit::UIView>& sourceView, Shared::EntriesVC& entriesV) override;
    void didSelectArchive(const std::shared_ptr<UIKit::UIView>& sourceView, Shared::EntriesVC& entriesV) override;
    void didSelectUnarchive(const std::shared_ptr<UIKit::UIView>& sourceView, Shared::EntriesVC& entriesV) override;
    void didSelectMoveToTrash(const std::shared_ptr<UIKit::UIView>& sourceView, Shared::EntriesVC& entriesV) override;
    void didSelectRestore(const std::shared_ptr<UIKit::UIView>& sourceView, Shared::EntriesVC& entriesV) override;
    void didSelectDeletePermanently(const std::shared_ptr<UIKit::UIView>& sourceView, Shared::EntriesVC& entriesV) override;
    // EntriesV_HeaderV_TitleButton_Delegate, EntriesV_HeaderV_NewItemButton_Delegate
    std::shared_ptr<UIKit::UIMenu> contextMenu(UIKit::UIButton& titleButton) override;
    std::shared_ptr<UIKit::UIMenu> newItemMenu(UIKit::UIButton& newItemButton) override;
    // EntriesVCDelegate
    void didActivate(const Foundation::String& entryID, Shared::EntriesVC& entriesVC) override;

    // SyncStatusCDelegate
    void didSelectReplaceExistingDataWithiCloudData(SyncStatusC& syncStatusC) override;

    // EntriesCoordinatorMenus::Host
    std::shared_ptr<EntriesCoordinatorDelegate> entriesCoordinatorDelegate() const override { return delegate(); }
    std::shared_ptr<UIKit::UIViewController> viewController() override { return sharedSelf(this); }
    std::shared_ptr<EntriesCoordinator> entriesCoordinator() override { return sharedSelf(this); }
    void handleUnexpectedError(const Foundation::Error& error, const Foundation::String& context) override;
    bool isBeingDisplayedInExpandedSplitView() const override;
    bool isMultiSelecting() const override;
    void didSelectFilter(const Shared::EntryFilter& filter) override;
    void shareEntry(const Foundation::String& entryID) override;

protected:
    friend Foundation::Construct;
    // init()
    EntriesCoordinator();
    void initialize() override;

private:
    explicit EntriesCoordinator(std::shared_ptr<Shared::EntriesVC> entriesVC);
    void registerForNotifications();
    Menus menus() const;
    std::optional<Shared::Entry> entry(const Foundation::String& entryID) const;
    // The swipe actions that may change the row under the finger wait until it has closed.
    void afterSwipe(std::function<void(EntriesCoordinator&)> action);
    // What the editing controls do: to the selected items, then out of multiple selection.
    std::vector<Foundation::String> selectedEntryIDs() const;
    std::function<void()> endMultipleSelection();

    std::weak_ptr<EntriesCoordinatorDelegate> m_delegate;
    std::shared_ptr<Shared::EntriesVC> m_entriesVC;
    FilterStore m_filterStore;
    bool m_hasAutoSelectedSearchSinceLastAuthentication = false;
    std::shared_ptr<SelectionCache> m_selectionCache;
    std::vector<std::shared_ptr<Foundation::NSObject>> m_observers;
};

} // namespace Corvendale
