// What the main coordinator does for its columns and the item picker: the list's selection becomes the
// details' state, and actions on one or several items run with a sensible selection afterwards.

#include "Corvendale/Services/AppKitBridge.hpp"
#include "Corvendale/App/MainCoordinator.hpp"
#include "Corvendale/App/MainCoordinatorDelegate.hpp"
#include "Corvendale/Screens/Details/EntryDetailsCoordinator.hpp"
#include "Corvendale/Screens/Items/EntriesCoordinator.hpp"
#include "Corvendale/Screens/Items/EntrySelectionC.hpp"
#include "Corvendale/Screens/LargeViewer/LargeViewerV.Content.hpp"
#include "Corvendale/Screens/LargeViewer/LargeViewerVC.hpp"
#include "Corvendale/Services/URLOpener.hpp"

#include "Shared/Model/Entry.hpp"
#include "Shared/Model/Settings.Auth.hpp"
#include "Shared/Screens/EntriesVC.hpp"
#include "Shared/Screens/EntryDetailsVC.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Basalwork/Base/DispatchQueue.hpp"
#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Interface/AlertController.hpp"
#include "Basalwork/Interface/UIViewController.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/UIKit/UIAlertAction.hpp"
#include "Platform/UIKit/UIAlertController.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UITraitCollection.hpp"

#include <algorithm>
#include <unordered_set>

namespace Corvendale {

namespace {

const Foundation::String& passwordHistoryID()
{
    static const auto* id = new Foundation::String("Password");
    return *id;
}

} // namespace

// --- Selection ---------------------------------------------------------------------------------------------

void MainCoordinator::didUpdate(const std::vector<Foundation::String>& selectedEntryIDs, EntriesCoordinator&)
{
    static const char* function = "didUpdate(selectedEntryIDs:entriesCoordinator:)";
    const bool isMultiSelecting = entriesVC()->isSelectingMultiple();
    if (isCollapsed() && !isMultiSelecting)
        focusList();
    if (m_entryDetailsCoordinator->entryDetailsVC()->isViewLoaded())
        m_entryDetailsCoordinator->entryDetailsVC()->scrollToTop(false, nullptr);
    try {
        m_entryDetailsCoordinator->saveCurrentEdits();
    } catch (const Foundation::Error& error) {
        return handleUnexpectedError(error, Foundation::String(function));
    }
    const auto& services = dependencies();
    const auto& current = m_entryDetailsCoordinator->state();
    DetailsState state;
    const bool showsOne = selectedEntryIDs.size() == 1 && !isMultiSelecting;
    if (showsOne) {
        DetailsState::Viewing viewing;
        viewing.entryID = selectedEntryIDs.front();
        viewing.recordStore = services.recordStore;
        auto concealMode = services.preferenceStore->concealing() == Shared::Settings::Auth::Concealing::disabled
            ? Shared::EntryDetailsVCConcealState::Mode::disabled
            : Shared::EntryDetailsVCConcealState::Mode::enabled;
        viewing.concealState = current.concealState().value_or(Shared::EntryDetailsVCConcealState().withMode(concealMode)).clearingRevealedIDs(true);
        try {
            if (services.recordStore->autoFillAvailability() == Shared::RecordStoreAutoFillAvailability::enabled)
                if (auto entry = services.recordStore->entry(viewing.entryID); entry && !entry->serviceIdentifiers.empty())
                    viewing.autoFillDomains = Shared::EntryDetailsVCAutoFillDomainsState::shown;
        } catch (const Foundation::Error&) {
            // The details show what they can of an item that cannot be read.
        }
        if (traitCollection().horizontalSizeClass != UIKit::UIUserInterfaceSizeClass::regular)
            viewing.backButton = Shared::EntryDetailsVCBackButtonVisibility::visible;
        state = std::move(viewing);
    } else if (selectedEntryIDs.empty() && !isMultiSelecting) {
        state = DetailsState::Empty {};
    } else {
        state = DetailsState::MultipleSelection {selectedEntryIDs, services.recordStore};
    }
    if (!applyDetailsState(std::move(state), false, function))
        return;
    if (isExpanded() || showsOne)
        showEntryDetails();
    // A click on a row takes the keyboard from whoever had it; the window's commands must still arrive.
    becomeFirstResponderIfNothingIs();
}

void MainCoordinator::didSelectEdit(const Foundation::String& entryID, EntriesCoordinator&)
{
    if (isExpanded())
        selectInList({entryID});
    m_entryDetailsCoordinator->transitionToEdit(entryID, true, std::nullopt, true);
    const auto* editing = m_entryDetailsCoordinator->state().editingPayload();
    if (editing && editing->entryID == entryID)
        showEntryDetails();
}

bool MainCoordinator::isDisplayingEntry(const Foundation::String& withID) const
{
    const auto* viewing = m_entryDetailsCoordinator->state().as<DetailsState::Viewing>();
    return viewing && viewing->entryID == withID;
}

// --- Bulk actions ------------------------------------------------------------------------------------------

std::optional<Foundation::String> MainCoordinator::selectionAfterActing(const std::vector<Foundation::String>& shownEntryIDs,
                                                                        const std::vector<Foundation::String>& entryIDs)
{
    if (entryIDs.empty())
        return std::nullopt;
    std::unordered_set<std::string> actedOn;
    for (const auto& id : entryIDs)
        actedOn.insert(id.utf8());
    auto isLeft = [&](const Foundation::String& id) { return !actedOn.contains(id.utf8()); };
    auto first = std::ranges::find(shownEntryIDs, entryIDs.front());
    if (first == shownEntryIDs.end()) {
        auto left = std::ranges::find_if(shownEntryIDs, isLeft);
        return left == shownEntryIDs.end() ? std::nullopt : std::optional(*left);
    }
    // The neighbour below, as the list then closes up over it; else the one above.
    if (auto below = std::find_if(first, shownEntryIDs.end(), isLeft); below != shownEntryIDs.end())
        return *below;
    auto above = std::find_if(std::make_reverse_iterator(first), shownEntryIDs.rend(), isLeft);
    return above == shownEntryIDs.rend() ? std::nullopt : std::optional(*above);
}

void MainCoordinator::performActionAndUpdateSelection(const std::vector<Foundation::String>& entryIDs, ItemAction action)
{
    std::weak_ptr<MainCoordinator> weak = sharedSelf(this);
    if (isDetailsPresentedHere()) {
        return dismiss(true, [weak, entryIDs, action] {
            if (auto self = weak.lock())
                self->performActionAndUpdateSelection(entryIDs, action);
        });
    }
    std::optional<Foundation::String> toSelect;
    if (isExpanded())
        toSelect = selectionAfterActing(entriesVC()->shownEntryIDs(), entryIDs);
    try {
        const auto& recordStore = dependencies().recordStore;
        switch (action) {
        case ItemAction::archive:
        case ItemAction::unarchive:
            recordStore->setArchived(entryIDs, action == ItemAction::archive);
            break;
        case ItemAction::moveToTrash:
        case ItemAction::restore:
            recordStore->setTrashed(entryIDs, action == ItemAction::moveToTrash);
            break;
        case ItemAction::permanentlyDelete:
            recordStore->permanentlyDelete(entryIDs);
            break;
        }
    } catch (const Foundation::Error& error) {
        return handleUnexpectedError(error, Foundation::String("performActionAndUpdateSelection(entryIDs:action:)"));
    }
    startSync();
    Foundation::DispatchQueue::main()->async([weak, toSelect] {
        auto self = weak.lock();
        if (!self)
            return;
        if (toSelect)
            self->selectInList({*toSelect});
        else
            self->focusList();
    });
}

void MainCoordinator::updateIsFavorite(bool isFavorite, const std::vector<Foundation::String>& entryIDs)
{
    try {
        dependencies().recordStore->setFavorite(entryIDs, isFavorite);
    } catch (const Foundation::Error& error) {
        return handleUnexpectedError(error, Foundation::String("update(isFavorite:entryIDs:)"));
    }
    startSync();
}

void MainCoordinator::updateIsArchived(bool isArchived, const std::vector<Foundation::String>& entryIDs)
{
    performActionAndUpdateSelection(entryIDs, isArchived ? ItemAction::archive : ItemAction::unarchive);
}

void MainCoordinator::updateIsTrashed(bool isTrashed, const std::vector<Foundation::String>& entryIDs)
{
    performActionAndUpdateSelection(entryIDs, isTrashed ? ItemAction::moveToTrash : ItemAction::restore);
}

void MainCoordinator::permanentlyDelete(const std::vector<Foundation::String>& entryIDs)
{
    performActionAndUpdateSelection(entryIDs, ItemAction::permanentlyDelete);
}

void MainCoordinator::duplicate(const std::vector<Foundation::String>& entryIDs)
{
    const bool selectDuplicatedEntries = isExpanded();
    std::weak_ptr<MainCoordinator> weak = sharedSelf(this);
    dependencies().recordStore->duplicate(entryIDs, Basalwork::ResultHandler<DuplicateResult>(Foundation::DispatchQueue::main(),
                                                                                              [weak, selectDuplicatedEntries](DuplicateResult result) {
                                                                                                  if (auto self = weak.lock())
                                                                                                      self->duplicate(result, selectDuplicatedEntries);
                                                                                              }));
}

void MainCoordinator::duplicate(const DuplicateResult& entryIDs, bool selectDuplicatedEntries)
{
    if (const auto* failure = entryIDs.failureValue()) {
        if (*failure)
            handleUnexpectedError(**failure, Foundation::String("duplicate(entryIDs:selectDuplicatedEntries:)"));
        return;
    }
    const auto* copies = entryIDs.successValue();
    if (!copies)
        return;
    if (selectDuplicatedEntries) {
        std::weak_ptr<MainCoordinator> weak = sharedSelf(this);
        auto select = [weak, ids = *copies] {
            if (auto self = weak.lock())
                self->selectInList(ids);
        };
        if (isDetailsPresentedHere())
            dismiss(true, select);
        else
            Basalwork::asyncAfter(*Foundation::DispatchQueue::main(), 0.0, select);
    }
    startSync();
}

void MainCoordinator::didSelectChangeCategory(Shared::EntryCategory category, const std::vector<Foundation::String>& entryIDs, EntriesCoordinator&)
{
    try {
        dependencies().recordStore->setCategory(entryIDs, category);
    } catch (const Foundation::Error& error) {
        return handleUnexpectedError(error, Foundation::String("didSelectChangeCategory(category:entryIDs:entriesCoordinator:)"));
    }
    startSync();
}

bool MainCoordinator::isPresenting(const UIKit::UIViewController& viewController) const
{
    return presentedViewController().get() == &viewController;
}

void MainCoordinator::dismissPresented(UIKit::UIViewController& viewController)
{
    if (!isPresenting(viewController))
        return;
    std::weak_ptr<MainCoordinator> weak = sharedSelf(this);
    dismiss(true, [weak] {
        if (auto self = weak.lock())
            self->focusList();
    });
}

bool MainCoordinator::isSelectingMultipleEntries() const
{
    return entriesVC()->isSelectingMultiple();
}

void MainCoordinator::selectEntryInList(const Foundation::String& entryID)
{
    selectInList({entryID});
}

void MainCoordinator::presentLargeViewer(const LargeViewerVContent& content)
{
    auto viewer = Foundation::make<LargeViewerVC>(content);
    viewer->setDelegate(std::static_pointer_cast<LargeViewerVCDelegate>(sharedSelf(this)));
    Basalwork::topMostPresentedVCOrSelf(*this)->present(viewer, true);
}

void MainCoordinator::dismissLargeViewer()
{
    dismissLargeViewerIfPresented(true);
}

void MainCoordinator::dismissLargeViewerIfPresented(bool animated)
{
    auto top = Basalwork::topMostPresentedVCOrSelf(*this);
    if (std::dynamic_pointer_cast<LargeViewerVC>(top))
        top->dismiss(animated);
}

// --- Requests passed on ------------------------------------------------------------------------------------

void MainCoordinator::didSelectReplaceExistingDataWithiCloudData(EntriesCoordinator&)
{
    if (auto delegate = coordinatingDelegate())
        return delegate->didSelectReplaceExistingDataWithiCloudData(*this);
    auto error = Basalwork::GeneralError::failedWithMessage("MainCoordinator unable to replace existing data while coordinatingDelegate is nil.");
    handleUnexpectedError(error, Foundation::String("didSelectReplaceExistingDataWithiCloudData(entriesCoordinator:)"));
}

void MainCoordinator::openInBrowser(const Foundation::String& entryID, bool quitting)
{
    std::optional<Shared::Entry> entry;
    try {
        entry = dependencies().recordStore->entry(entryID);
    } catch (const Foundation::Error&) {
        return;
    }
    auto url = entry ? entry->websiteURL() : std::nullopt;
    if (!url)
        return;
    std::function<void(bool)> completion;
    if (quitting) {
        completion = [bridge = dependencies().appKitBridge](bool opened) {
            if (opened && bridge)
                AppKitBridge::quitApplication(bridge);
        };
    }
    URLOpener::open(*url, std::static_pointer_cast<UIKit::UIViewController>(sharedSelf(this)), std::move(completion));
}

void MainCoordinator::didSelectOpenInBrowser(const Foundation::String& entryID, EntriesCoordinator&)
{
    openInBrowser(entryID, false);
}

void MainCoordinator::didSelectOpenInBrowserAndQuit(const Foundation::String& entryID, EntriesCoordinator&)
{
    openInBrowser(entryID, true);
}

void MainCoordinator::presentLargeFirstCopyablePassword(const Foundation::String& ofEntryWithID, bool)
{
    auto entry = lookUp(ofEntryWithID, "presentLargeFirstCopyablePassword(ofEntryWithID:animated:)");
    if (auto password = entry ? entry->firstCopyablePassword() : std::nullopt)
        presentLargeViewer(LargeViewerVContent::password(*password));
}

void MainCoordinator::presentLargeFirstCopyableOneTimePassword(const Foundation::String& ofEntryWithID, bool)
{
    auto entry = lookUp(ofEntryWithID, "presentLargeFirstCopyableOneTimePassword(ofEntryWithID:animated:)");
    if (auto totp = entry ? entry->firstCopyableTOTP() : std::nullopt)
        presentLargeViewer(LargeViewerVContent::totp(*totp));
}

// --- Password history --------------------------------------------------------------------------------------

void MainCoordinator::showPasswordHistory()
{
    applyDetailsState(m_entryDetailsCoordinator->state().showingHistory(passwordHistoryID()), true, "showPasswordHistory()");
}

void MainCoordinator::hidePasswordHistory()
{
    applyDetailsState(m_entryDetailsCoordinator->state().hidingHistory(passwordHistoryID()), true, "hidePasswordHistory()");
}

bool MainCoordinator::isShowingPasswordHistory() const
{
    auto visibility = m_entryDetailsCoordinator->state().historyVisibility();
    return visibility && visibility->isShowing(passwordHistoryID());
}

// --- Item picker -------------------------------------------------------------------------------------------

void MainCoordinator::entrySelectionCDidCancel()
{
    if (!std::dynamic_pointer_cast<EntrySelectionC>(presentedViewController()))
        return;
    std::weak_ptr<MainCoordinator> weak = sharedSelf(this);
    dismiss(true, [weak] {
        if (auto self = weak.lock())
            self->focusList();
    });
}

void MainCoordinator::entrySelectionC(const Foundation::String& didSelect, const Foundation::URL& otpAuthURL)
{
    if (!std::dynamic_pointer_cast<EntrySelectionC>(presentedViewController()))
        return;
    std::weak_ptr<MainCoordinator> weak = sharedSelf(this);
    dismiss(true, [weak, entryID = didSelect, otpAuthURL] {
        auto self = weak.lock();
        if (!self)
            return;
        self->didSelectEdit(entryID, *self->m_entriesCoordinator);
        self->m_entryDetailsCoordinator->attemptToUpdate(otpAuthURL, false);
    });
}

void MainCoordinator::entrySelectionC(Shared::EntryCategory didSelectNewItemFor, const Foundation::URL& otpAuthURL)
{
    if (!std::dynamic_pointer_cast<EntrySelectionC>(presentedViewController()))
        return;
    std::weak_ptr<MainCoordinator> weak = sharedSelf(this);
    dismiss(true, [weak, category = didSelectNewItemFor, otpAuthURL] {
        auto self = weak.lock();
        if (!self)
            return;
        self->attemptPresentAddEntry(category, true);
        self->m_entryDetailsCoordinator->attemptToUpdate(otpAuthURL, false);
    });
}

} // namespace Corvendale
