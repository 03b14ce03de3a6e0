#include "Corvendale/Screens/Items/EntriesCoordinator.hpp"

#include "Corvendale/Screens/Items/EntriesCoordinatorDelegate.hpp"
#include "Corvendale/Screens/Items/EntriesVC.hpp"
#include "Corvendale/Screens/Items/SyncStatusC.hpp"
#include "Corvendale/Services/SyncCoordinator.hpp"

#include "Shared/Screens/EntriesVC.hpp"
#include "Shared/Screens/PasteboardCoordinator.hpp"
#include "Shared/Screens/UIAlertController.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Transfer/BackupStore.hpp"

#include "Basalwork/Base/DispatchQueue.hpp"
#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Interface/AlertController.hpp"
#include "Basalwork/Interface/PresentationSource.hpp"
#include "Basalwork/Interface/UIViewController.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/Foundation/UserDefaults.hpp"
#include "Platform/UIKit/UIActivityViewController.hpp"
#include "Platform/UIKit/UIPopoverArrowDirection.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <utility>

namespace Corvendale {

namespace {

// Swipe actions that open something wait until the row has closed.
constexpr double swipeSettleDelay = 0.3;

} // namespace

EntriesCoordinator::EntriesCoordinator()
    : EntriesCoordinator(Foundation::make<Shared::EntriesVC>())
{
}

EntriesCoordinator::EntriesCoordinator(std::shared_ptr<Shared::EntriesVC> entriesVC)
    : CoordinatingViewController(entriesVC)
    , m_entriesVC(std::move(entriesVC))
    , m_filterStore(Foundation::UserDefaults::standard())
{
}

void EntriesCoordinator::initialize()
{
    CoordinatingViewController::initialize();
    m_entriesVC->setDelegate(std::static_pointer_cast<Shared::EntriesVCDelegate>(sharedSelf(this)));
}

EntriesCoordinatorMenus EntriesCoordinator::menus() const
{
    auto self = const_cast<EntriesCoordinator*>(this)->sharedSelf(const_cast<EntriesCoordinator*>(this));
    const auto& services = dependencies();
    return Menus(std::static_pointer_cast<Menus::Host>(self), services.recordStore, services.preferenceStore, services.analyticsStore);
}

const std::shared_ptr<EntriesCoordinator::SelectionCache>& EntriesCoordinator::selectionCache()
{
    if (!m_selectionCache)
        m_selectionCache = Foundation::make<SelectionCache>(dependencies().recordStore);
    return m_selectionCache;
}

void EntriesCoordinator::viewDidLoad()
{
    CoordinatingViewController::viewDidLoad();
    updateView(false);
    registerForNotifications();
}

void EntriesCoordinator::viewDidAppear(bool animated)
{
    CoordinatingViewController::viewDidAppear(animated);
    autoSelectSearchIfNeeded();
}

void EntriesCoordinator::updateView(bool animated)
{
    try {
        const auto& services = dependencies();
        auto config = currentConfig(*m_entriesVC, selectedFilter(), services);
        if (services.syncCoordinator)
            config.syncStatus = services.syncCoordinator->syncStatus();
        config.isCancelButtonHidden = true;
        config.isNewItemButtonHidden = false;
        config.selectedEntryIDs = m_entriesVC->selectedEntryIDs();
        config.settingsIssueDetected = true;
        config.isSettingsButtonShown = true;
        config.mode = Shared::EntriesVC::Config::Mode::main();
        m_entriesVC->setConfig(config, animated);
    } catch (const Foundation::Error&) {
        // The list keeps showing the configuration it has.
    }
}

void EntriesCoordinator::registerForNotifications()
{
    const auto& services = dependencies();
    auto center = services.notificationCenter;
    auto queue = Foundation::OperationQueue::main();
    std::weak_ptr<EntriesCoordinator> weak = sharedSelf(this);
    m_observers = observeStoreChanges(services, [weak](bool animated) {
        if (auto self = weak.lock())
            self->updateView(animated);
    });
    m_observers.push_back(center->addObserver(Shared::AuthenticationStore::authenticationStoreDidUpdateAuthenticationState(),
                                              services.authenticationStore, queue, [weak](const Foundation::Notification&) {
                                                  if (auto self = weak.lock())
                                                      self->authenticationStateDidUpdate();
                                              }));
    if (services.syncCoordinator) {
        m_observers.push_back(center->addObserver(SyncCoordinator::syncCoordinatorDidUpdateSyncStatus(), services.syncCoordinator, queue,
                                                  [weak](const Foundation::Notification&) {
                                                      auto self = weak.lock();
                                                      if (!self)
                                                          return;
                                                      Shared::EntriesVSyncStatusIndicatorConfig config;
                                                      config.syncStatus = self->dependencies().syncCoordinator->syncStatus();
                                                      config.isAnimated = true;
                                                      self->m_entriesVC->setSyncStatusIndicatorConfig(config);
                                                  }));
    }
}

EntriesCoordinator::~EntriesCoordinator()
{
    if (m_observers.empty())
        return;
    for (const auto& observer : m_observers)
        dependencies().notificationCenter->removeObserver(observer);
}

void EntriesCoordinator::authenticationStateDidUpdate()
{
    const auto& services = dependencies();
    if (!services.authenticationStore->authenticationState().isAuthenticated()) {
        m_hasAutoSelectedSearchSinceLastAuthentication = false;
        if (std::dynamic_pointer_cast<SyncStatusC>(presentedViewController()))
            dismiss(true);
        return;
    }
    bool inspectionModeActive = false;
    try {
        inspectionModeActive = services.recordStore->safeForInspectionState() == Shared::RecordStore::SafeForInspectionState::activated;
    } catch (const Foundation::Error&) {
    }
    if (inspectionModeActive && selectedFilter() == Shared::EntryFilter::safeForInspection())
        setSelectedFilter(Shared::EntryFilter::allItems());
    updateView(!inspectionModeActive);
    autoSelectSearchIfNeeded();
}

void EntriesCoordinator::autoSelectSearchIfNeeded()
{
    Corvendale::autoSelectSearchIfNeeded(*this, m_entriesVC, dependencies(), [this] {
        // Once per unlock, whether or not the store has items to search.
        return !std::exchange(m_hasAutoSelectedSearchSinceLastAuthentication, true);
    });
}

bool EntriesCoordinator::isBeingDisplayedInExpandedSplitView() const
{
    return Basalwork::isBeingDisplayedInExpandedSplitView(*this);
}

bool EntriesCoordinator::isMultiSelecting() const
{
    return m_entriesVC->isSelectingMultiple();
}

void EntriesCoordinator::selectFirstEntryIfNeeded(bool animated, bool scrollToSelection)
{
    if (isBeingDisplayedInExpandedSplitView() && m_entriesVC->selectedEntryIDs().empty())
        m_entriesVC->selectFirstRow(animated, scrollToSelection);
}

void EntriesCoordinator::didSelectFilter(const Shared::EntryFilter& filter)
{
    setSelectedFilter(filter);
    updateView(false);
    selectFirstEntryIfNeeded(true, false);
}

// --- Sharing -------------------------------------------------------------------------------------------

void EntriesCoordinator::presentShareMenuConfirmation(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView,
                                                      bool animated)
{
    std::optional<Shared::Entry> found;
    try {
        found = dependencies().recordStore->entry(entryID);
    } catch (const Foundation::Error& error) {
        return UnexpectedErrorHandling::handleUnexpectedError(error, "presentShareMenuConfirmation(entryID:sourceView:animated:)", animated);
    }
    if (!found)
        return;
    std::weak_ptr<EntriesCoordinator> weak = sharedSelf(this);
    auto confirmation = Shared::UIAlertControllers::makeShareInPlainTextConfirmation(
        Basalwork::PresentationSource::view(sourceView), [weak, entry = *found, sourceView, animated] {
            if (auto self = weak.lock())
                self->presentShareMenu(entry, sourceView, animated);
        });
    present(confirmation, animated);
}

void EntriesCoordinator::presentShareMenu(const Shared::Entry& entry, const std::shared_ptr<UIKit::UIView>& sourceView, bool animated)
{
    std::vector<Foundation::String> items;
    try {
        items = dependencies().recordStore->shareItems(entry.id);
    } catch (const Foundation::Error& error) {
        return UnexpectedErrorHandling::handleUnexpectedError(error, "presentShareMenu(entry:sourceView:animated:)", animated);
    }
    auto sheet = Foundation::make<UIKit::UIActivityViewController>(std::move(items));
    // The shared secrets leave the clipboard as every other copy of the program's does.
    sheet->setCompletionWithItemsHandler([pasteboard = dependencies().pasteboardCoordinator](
                                             const std::optional<UIKit::UIActivityViewController::ActivityType>& activityType, bool completed) {
        if (completed && activityType == UIKit::UIActivityViewController::copyToPasteboard() && pasteboard)
            pasteboard->adoptPasteboardContent();
    });
    Basalwork::setModalPresentationStyleToPopover(*sheet, Basalwork::PresentationSource::view(sourceView), UIKit::UIPopoverArrowDirection::any(),
                                                  nullptr);
    present(sheet, animated);
}

void EntriesCoordinator::shareEntry(const Foundation::String& entryID)
{
    auto source = m_entriesVC->viewIfLoaded() ? m_entriesVC->view() : view();
    presentShareMenuConfirmation(entryID, source, true);
}

void EntriesCoordinator::duplicateSelectedItems()
{
    menus().duplicate(selectedEntryIDs(), m_entriesVC->view());
}

void EntriesCoordinator::archive(const std::vector<Foundation::String>& entryIDs)
{
    menus().archive(entryIDs, m_entriesVC->view());
}

void EntriesCoordinator::moveToTrash(const std::vector<Foundation::String>& entryIDs)
{
    menus().moveToTrash(entryIDs, m_entriesVC->view());
}

void EntriesCoordinator::deletePermanently(const std::vector<Foundation::String>& entryIDs)
{
    menus().deletePermanently(entryIDs, m_entriesVC->view());
}

// --- Errors and presentation ---------------------------------------------------------------------------

void EntriesCoordinator::presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated,
                                               std::function<void()> completion)
{
    present(viewController, animated, std::move(completion));
}

void EntriesCoordinator::handleUnexpectedError(const Foundation::Error& error, const Foundation::String& context)
{
    UnexpectedErrorHandling::handleUnexpectedError(error, context, true);
}

void EntriesCoordinator::didSelectReplaceExistingDataWithiCloudData(SyncStatusC&)
{
    auto delegate = this->delegate();
    if (!delegate) {
        auto error = Basalwork::GeneralError::failedWithMessage("Corvendale.EntriesCoordinator unable to replace existing data while delegate is nil.");
        return UnexpectedErrorHandling::handleUnexpectedError(error, "didSelectReplaceExistingDataWithiCloudData(syncStatusC:)", true);
    }
    delegate->didSelectReplaceExistingDataWithiCloudData(*this);
}

// --- The list's requests -------------------------------------------------------------------------------

std::optional<Shared::Entry> EntriesCoordinator::entry(const Foundation::String& entryID) const
{
    try {
        return dependencies().recordStore->entry(entryID);
    } catch (const Foundation::Error&) {
        return std::nullopt;
    }
}

bool EntriesCoordinator::canShowEntries(Shared::EntriesVC&)
{
    return true;
}

Shared::Settings::Items::SortMethod EntriesCoordinator::sortMethod(const Shared::Entry::Filter& filter, Shared::EntriesVC&)
{
    return dependencies().preferenceStore->sortMethod(filter);
}

Shared::EntriesVCItems EntriesCoordinator::entryIndices(const Shared::Entry::Filter& filter, Shared::Settings::Items::SortMethod sortMethod,
                                                        Shared::EntriesVC&)
{
    // The whole vault may be read: on the list's worker.
    return Shared::EntriesVCItems::deferred(
        [recordStore = dependencies().recordStore, filter, sortMethod] { return recordStore->sharedEntryIndices(filter, sortMethod); });
}

void EntriesCoordinator::didUpdateSearchText(Shared::EntriesVC&)
{
    updateView(false);
    selectFirstEntryIfNeeded(true, false);
}

void EntriesCoordinator::didUpdate(const std::vector<Foundation::String>& selectedEntryIDs, bool, Shared::EntriesVC&)
{
    if (auto delegate = this->delegate())
        delegate->didUpdate(selectedEntryIDs, *this);
}

std::shared_ptr<UIKit::UIMenu> EntriesCoordinator::contextMenu(const std::vector<Foundation::String>& entryIDs,
                                                               const std::shared_ptr<UIKit::UIView>& sourceView, Shared::EntriesVC&)
{
    return menus().contextMenu(entryIDs, sourceView);
}

void EntriesCoordinator::didRequestSearchFocus(Shared::EntriesVC&)
{
    m_entriesVC->focusSearch();
}

void EntriesCoordinator::needsUpdate(Shared::EntriesVC&)
{
    updateView(true);
}

std::optional<Foundation::String> EntriesCoordinator::username(const Foundation::String& entryID, Shared::EntriesVC&)
{
    auto found = entry(entryID);
    return found ? found->copyableUsername() : std::nullopt;
}

std::optional<Foundation::String> EntriesCoordinator::password(const Foundation::String& entryID, Shared::EntriesVC&)
{
    auto found = entry(entryID);
    return found ? found->firstCopyablePassword() : std::nullopt;
}

std::optional<Foundation::String> EntriesCoordinator::oneTimePassword(const Foundation::String& entryID, Shared::EntriesVC&)
{
    auto found = entry(entryID);
    return found ? found->firstCopyableOneTimePassword(Foundation::Date::now()) : std::nullopt;
}

void EntriesCoordinator::copyUsername(const Foundation::String& entryID, SwipeCompletion completion, Shared::EntriesVC&)
{
    if (auto delegate = this->delegate())
        delegate->copyUsername(entryID);
    if (completion)
        completion(true);
}

void EntriesCoordinator::copyPassword(const Foundation::String& entryID, SwipeCompletion completion, Shared::EntriesVC&)
{
    if (auto delegate = this->delegate())
        delegate->copyPassword(entryID);
    if (completion)
        completion(true);
}

void EntriesCoordinator::copyOneTimePassword(const Foundation::String& entryID, SwipeCompletion completion, Shared::EntriesVC&)
{
    if (auto delegate = this->delegate())
        delegate->copyOneTimePassword(entryID);
    if (completion)
        completion(true);
}

bool EntriesCoordinator::allowsLeadingSwipeActions(Shared::EntriesVC&)
{
    return !m_entriesVC->isSelectingMultiple();
}

bool EntriesCoordinator::allowsTrailingSwipeActions(Shared::EntriesVC&)
{
    return !m_entriesVC->isSelectingMultiple();
}

void EntriesCoordinator::afterSwipe(std::function<void(EntriesCoordinator&)> action)
{
    std::weak_ptr<EntriesCoordinator> weak = sharedSelf(this);
    Basalwork::asyncAfter(*Foundation::DispatchQueue::main(), swipeSettleDelay, [weak, action = std::move(action)] {
        if (auto self = weak.lock())
            action(*self);
    });
}

void EntriesCoordinator::didSwipeToFavorite(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion completion,
                                            Shared::EntriesVC&)
{
    if (completion)
        completion(true);
    if (auto delegate = this->delegate())
        delegate->updateIsFavorite(true, {entryID});
}

void EntriesCoordinator::didSwipeToUnfavorite(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion completion,
                                              Shared::EntriesVC&)
{
    if (completion)
        completion(true);
    if (auto delegate = this->delegate())
        delegate->updateIsFavorite(false, {entryID});
}

void EntriesCoordinator::didSwipeToDuplicate(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView,
                                             SwipeCompletion completion, Shared::EntriesVC&)
{
    if (completion)
        completion(true);
    afterSwipe([entryID, sourceView](EntriesCoordinator& self) { self.menus().duplicate({entryID}, sourceView); });
}

void EntriesCoordinator::didSwipeToShare(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView, SwipeCompletion completion,
                                         Shared::EntriesVC&)
{
    if (completion)
        completion(true);
    afterSwipe([entryID, sourceView](EntriesCoordinator& self) { self.presentShareMenuConfirmation(entryID, sourceView, true); });
}

void EntriesCoordinator::didSwipeToArchive(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView,
                                           SwipeCompletion completion, Shared::EntriesVC&)
{
    if (completion)
        completion(true);
    afterSwipe([entryID, sourceView](EntriesCoordinator& self) { self.menus().archive({entryID}, sourceView); });
}

void EntriesCoordinator::didSwipeToUnarchive(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion completion,
                                             Shared::EntriesVC&)
{
    if (completion)
        completion(true);
    if (auto delegate = this->delegate())
        delegate->updateIsArchived(false, {entryID});
}

void EntriesCoordinator::didSwipeToMoveToTrash(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView,
                                               SwipeCompletion completion, Shared::EntriesVC&)
{
    if (completion)
        completion(true);
    afterSwipe([entryID, sourceView](EntriesCoordinator& self) { self.menus().moveToTrash({entryID}, sourceView); });
}

void EntriesCoordinator::didSwipeToRestore(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion completion,
                                           Shared::EntriesVC&)
{
    if (completion)
        completion(true);
    if (auto delegate = this->delegate())
        delegate->updateIsTrashed(false, {entryID});
}

void EntriesCoordinator::didSwipeToDeletePermanently(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView,
                                                     SwipeCompletion completion, Shared::EntriesVC&)
{
    if (completion)
        completion(true);
    afterSwipe([entryID, sourceView](EntriesCoordinator& self) { self.menus().deletePermanently({entryID}, sourceView); });
}

bool EntriesCoordinator::isBeingDisplayedInExpandedSplitView(Shared::EntriesVC&)
{
    return isBeingDisplayedInExpandedSplitView();
}

// --- Header and editing controls -----------------------------------------------------------------------

void EntriesCoordinator::didSelectSyncStatusIndicator(const std::shared_ptr<UIKit::UIView>& sourceView, Shared::EntriesVC&)
{
    const auto& services = dependencies();
    if (!services.syncCoordinator)
        return;
    auto pop = Foundation::make<SyncStatusC>(sourceView, std::static_pointer_cast<SyncStatusCDelegate>(sharedSelf(this)), services.syncCoordinator,
                                             services.authenticationStore);
    present(pop, true);
}

void EntriesCoordinator::didSelectSettings(const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC&)
{
    if (const auto& field = m_entriesVC->searchField(); field && field->isFirstResponder())
        field->resignFirstResponder();
    if (auto delegate = this->delegate())
        delegate->presentSettings(true);
}

void EntriesCoordinator::didSelectSelect(Shared::EntriesVC&)
{
    m_entriesVC->setSelectingMultiple(!m_entriesVC->isSelectingMultiple(), true);
}

void EntriesCoordinator::didSelectCancel(Shared::EntriesVC&)
{
}

std::vector<Foundation::String> EntriesCoordinator::selectedEntryIDs() const
{
    return m_entriesVC->selectedEntryIDs();
}

std::function<void()> EntriesCoordinator::endMultipleSelection()
{
    std::weak_ptr<EntriesCoordinator> weak = sharedSelf(this);
    return [weak] {
        if (auto self = weak.lock())
            self->m_entriesVC->setSelectingMultiple(false, true);
    };
}

void EntriesCoordinator::didSelectDone(Shared::EntriesVC&)
{
    m_entriesVC->setSelectingMultiple(false, true);
    if (auto delegate = this->delegate())
        delegate->didUpdate(m_entriesVC->selectedEntryIDs(), *this);
}

void EntriesCoordinator::didSelectSelectAll(Shared::EntriesVC&)
{
    m_entriesVC->selectAll();
    // The details show what is selected: "N Items Selected", or nothing once none is.
    if (auto delegate = this->delegate())
        delegate->didUpdate(m_entriesVC->selectedEntryIDs(), *this);
}

void EntriesCoordinator::didSelectDeselectAll(Shared::EntriesVC&)
{
    m_entriesVC->deselectAll();
    if (auto delegate = this->delegate())
        delegate->didUpdate(m_entriesVC->selectedEntryIDs(), *this);
}

void EntriesCoordinator::didSelectFavorite(const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC&)
{
    if (auto delegate = this->delegate())
        delegate->updateIsFavorite(true, selectedEntryIDs());
}

void EntriesCoordinator::didSelectUnfavorite(const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC&)
{
    if (auto delegate = this->delegate())
        delegate->updateIsFavorite(false, selectedEntryIDs());
}

void EntriesCoordinator::didSelectDuplicate(const std::shared_ptr<UIKit::UIView>& sourceView, Shared::EntriesVC&)
{
    menus().duplicate(selectedEntryIDs(), sourceView, endMultipleSelection());
}

void EntriesCoordinator::didSelectArchive(const std::shared_ptr<UIKit::UIView>& sourceView, Shared::EntriesVC&)
{
    menus().archive(selectedEntryIDs(), sourceView, endMultipleSelection());
}

void EntriesCoordinator::didSelectUnarchive(const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC&)
{
    if (auto delegate = this->delegate())
        delegate->updateIsArchived(false, selectedEntryIDs());
}

void EntriesCoordinator::didSelectMoveToTrash(const std::shared_ptr<UIKit::UIView>& sourceView, Shared::EntriesVC&)
{
    menus().moveToTrash(selectedEntryIDs(), sourceView, endMultipleSelection());
}

void EntriesCoordinator::didSelectRestore(const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC&)
{
    if (auto delegate = this->delegate())
        delegate->updateIsTrashed(false, selectedEntryIDs());
}

void EntriesCoordinator::didSelectDeletePermanently(const std::shared_ptr<UIKit::UIView>& sourceView, Shared::EntriesVC&)
{
    menus().deletePermanently(selectedEntryIDs(), sourceView, endMultipleSelection());
}

std::shared_ptr<UIKit::UIMenu> EntriesCoordinator::contextMenu(UIKit::UIButton&)
{
    return menus().filterMenu(selectedFilter(), m_filterStore.recentCategoryFilters());
}

std::shared_ptr<UIKit::UIMenu> EntriesCoordinator::newItemMenu(UIKit::UIButton&)
{
    return menus().newItemMenu();
}

void EntriesCoordinator::didActivate(const Foundation::String& entryID, Shared::EntriesVC&)
{
    if (auto delegate = this->delegate())
        delegate->didUpdate({entryID}, *this);
}

} // namespace Corvendale
