#include "Corvendale/Screens/Details/EntryDetailsCoordinator.hpp"

#include "Corvendale/Screens/Details/EntryDetailsCoordinatorDelegate.hpp"
#include "Corvendale/Services/AppKitBridge.hpp"
#include "Corvendale/Services/SyncCoordinator.hpp"

#include "Shared/Screens/EntryDetailsVC.hpp"
#include "Shared/Screens/EntryDetailsVHeaderV.hpp"
#include "Shared/Screens/UIAlertController.hpp"
#include "Shared/Screens/UIKeyCommand.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.EditingContext.hpp"
#include "Shared/Transfer/URL.hpp"

#include "Basalwork/Base/DispatchQueue.hpp"
#include "Basalwork/Base/String.hpp"
#include "Basalwork/Interface/AlertController.hpp"
#include "Basalwork/Interface/UISplitViewController.hpp"
#include "Basalwork/Interface/UIView.hpp"
#include "Basalwork/Interface/UIViewController.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UISplitViewController.hpp"
#include "Platform/UIKit/UITraitCollection.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <mutex>

namespace Corvendale {

namespace {

using Foundation::String;
using State = EntryDetailsCoordinator::State;
using Shared::EntryDetailsVCAutoFillDomainsState;
using Shared::RecordStoreAutoFillAvailability;

// A row to select waits until the rows of the update stand.
constexpr double selectMenuSourceDelay = 0.1;

void endEditing(const UIKit::UIView& view)
{
    if (auto responder = Basalwork::findFirstResponder(view))
        responder->resignFirstResponder();
}

bool hasAutoFillDomains(const Shared::Entry& entry)
{
    return Basalwork::hasAtLeastOneNonWhitespaceCharacter(entry.text(Shared::Entry::SystemField::ID::serviceIdentifiers));
}

} // namespace

EntryDetailsCoordinator::EntryDetailsCoordinator()
    : EntryDetailsCoordinator(Foundation::make<Shared::EntryDetailsVC>())
{
}

EntryDetailsCoordinator::EntryDetailsCoordinator(std::shared_ptr<Shared::EntryDetailsVC> entryDetailsVC)
    : CoordinatingViewController(entryDetailsVC)
    , m_entryDetailsVC(std::move(entryDetailsVC))
{
}

void EntryDetailsCoordinator::initialize()
{
    CoordinatingViewController::initialize();
    m_entryDetailsVC->setDelegate(std::static_pointer_cast<Shared::EntryDetailsVCDelegate>(sharedSelf(this)));
    static std::once_flag registered;
    std::call_once(registered, [] {
        Foundation::MethodTable::add(Foundation::Selector("tabKeyPressed"), &EntryDetailsCoordinator::tabKeyPressed);
        Foundation::MethodTable::add(Foundation::Selector("shiftTabKeyPressed"), &EntryDetailsCoordinator::shiftTabKeyPressed);
        Foundation::MethodTable::add(Foundation::Selector("escapeKeyPressed"), &EntryDetailsCoordinator::escapeKeyPressed);
    });
}

EntryDetailsCoordinator::~EntryDetailsCoordinator()
{
    if (m_observers.empty() && !m_editingContextObserver)
        return;
    const auto& center = dependencies().notificationCenter;
    for (const auto& observer : m_observers)
        center->removeObserver(observer);
    if (m_editingContextObserver)
        center->removeObserver(m_editingContextObserver);
}

void EntryDetailsCoordinator::viewDidLoad()
{
    CoordinatingViewController::viewDidLoad();
    registerForNotifications();
}

void EntryDetailsCoordinator::viewWillAppear(bool animated)
{
    CoordinatingViewController::viewWillAppear(animated);
    m_entryDetailsVC->view()->setFrame(view()->bounds());
    try {
        updateView(false);
    } catch (const Foundation::Error&) {
        // The screen keeps what it showed; the next change of state shows it again.
    }
}

void EntryDetailsCoordinator::presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated,
                                                    std::function<void()> completion)
{
    present(viewController, animated, std::move(completion));
}

// --- Applying a state -------------------------------------------------------------------------------

void EntryDetailsCoordinator::transition(State state, bool saveCurrentEdits, bool becomeFirstResponder, bool animated)
{
    if (saveCurrentEdits)
        this->saveCurrentEdits();
    apply(std::move(state), becomeFirstResponder, animated);
}

void EntryDetailsCoordinator::apply(State state, bool becomeFirstResponder, bool animated)
{
    m_state = std::move(state);
    if (const auto* viewing = m_state.as<State::Viewing>()) {
        m_lastConcealState = viewing->concealState;
        m_lastHistoryVisibility = viewing->historyVisibility;
    }
    if (const auto* editing = m_state.editingPayload()) {
        if (editing->editingContext) {
            try {
                editing->editingContext->prepareForEditing(editing->entryID);
            } catch (const Foundation::Error&) {
                // A new item the context made itself needs no preparing.
            }
        }
        setIsModalInPresentation(true);
        if (becomeFirstResponder)
            this->becomeFirstResponder();
    } else {
        if (isViewLoaded())
            endEditing(*view());
        setIsModalInPresentation(false);
    }
    m_entryDetailsVC->stateDidChange();
    updateView(animated);
    if (const auto* editing = m_state.editingPayload())
        observeEditingContext(editing->editingContext);
}

void EntryDetailsCoordinator::observeEditingContext(const std::shared_ptr<Shared::RecordStore::EditingContext>& editingContext)
{
    const auto& center = dependencies().notificationCenter;
    if (m_editingContextObserver)
        center->removeObserver(m_editingContextObserver);
    std::weak_ptr<EntryDetailsCoordinator> weak = sharedSelf(this);
    m_editingContextObserver = center->addObserver(Shared::RecordStore::EditingContext::editingContextDidUpdate(), editingContext,
                                                   Foundation::OperationQueue::main(), [weak](const Foundation::Notification&) {
                                                       auto self = weak.lock();
                                                       if (!self)
                                                           return;
                                                       try {
                                                           self->updateView(true);
                                                       } catch (const Foundation::Error&) {
                                                       }
                                                   });
}

bool EntryDetailsCoordinator::isMainWindowPinned() const
{
    return AppKitBridge::isMainWindowPinned(dependencies().appKitBridge);
}

void EntryDetailsCoordinator::updateView(bool animated)
{
    const auto& services = dependencies();
    std::weak_ptr<EntryDetailsCoordinator> weak = sharedSelf(this);
    auto selectPending = [weak, animated] {
        auto self = weak.lock();
        if (!self || !self->m_menuSourceToSelectOnNextUpdateView)
            return;
        auto source = *std::exchange(self->m_menuSourceToSelectOnNextUpdateView, std::nullopt);
        Basalwork::asyncAfter(*Foundation::DispatchQueue::main(), selectMenuSourceDelay, [weak, source, animated] {
            if (auto self = weak.lock())
                self->m_entryDetailsVC->select(source, animated);
        });
    };
    m_entryDetailsVC->headerV()->setCanPinMainWindow(services.appKitBridge != nullptr);
    m_entryDetailsVC->update(m_state, services.appExecutionContext, services.preferenceStore, services.recordStore, isMainWindowPinned(), animated,
                             [weak, animated, selectPending] {
                                 auto self = weak.lock();
                                 if (!self)
                                     return;
                                 if (std::exchange(self->m_scrollToTopOnNextUpdate, false))
                                     self->m_entryDetailsVC->scrollToTop(animated, selectPending);
                                 else
                                     selectPending();
                             });
}

// --- Editing ------------------------------------------------------------------------------------------

void EntryDetailsCoordinator::transitionToEdit(const String& entryID, bool saveCurrentEdits, const std::optional<Foundation::URL>&,
                                               bool animated)
{
    if (const auto* editing = m_state.editingPayload(); editing && editing->entryID == entryID)
        return;
    try {
        // Every way into editing (the header, the menus, the keys) meets the same rule.
        if (auto stored = dependencies().recordStore->entry(entryID); stored && stored->isTrashed())
            return;
        if (saveCurrentEdits)
            this->saveCurrentEdits();
        const auto& recordStore = dependencies().recordStore;
        auto entry = recordStore->entry(entryID);
        State::Editing editing;
        editing.entryID = entryID;
        editing.backButton = Shared::EntryDetailsVCBackButtonVisibility::hidden;
        bool showsEmptyLoginFields = entry && (Shared::isLoginCategory(entry->category) || entry->showsEmptyLoginFields);
        editing.emptyLoginFields =
            showsEmptyLoginFields ? Shared::EntryDetailsVCEmptyLoginFieldsVisibility::visible : Shared::EntryDetailsVCEmptyLoginFieldsVisibility::hidden;
        editing.emptyTOTPField = entry && Basalwork::hasAtLeastOneNonWhitespaceCharacter(entry->totpSecretKey)
            ? Shared::EntryDetailsVCEmptyTOTPFieldVisibility::visible
            : Shared::EntryDetailsVCEmptyTOTPFieldVisibility::hidden;
        switch (recordStore->autoFillAvailability()) {
        case RecordStoreAutoFillAvailability::unsupportedSystem:
            editing.autoFillDomains = EntryDetailsVCAutoFillDomainsState::unsupportedSystem;
            break;
        case RecordStoreAutoFillAvailability::disabled:
            editing.autoFillDomains = EntryDetailsVCAutoFillDomainsState::disabled;
            break;
        case RecordStoreAutoFillAvailability::enabled:
            editing.autoFillDomains = entry && hasAutoFillDomains(*entry) ? EntryDetailsVCAutoFillDomainsState::shown
                                                                                  : EntryDetailsVCAutoFillDomainsState::hidden;
            break;
        }
        editing.editingContext = recordStore->makeEditingContext();
        apply(std::move(editing), true, animated);
    } catch (const Foundation::Error& error) {
        handleUnexpectedError(error, "transitionToEdit(entryID:saveCurrentEdits:otpAuthURLToAdd:animated:)", animated);
    }
}

void EntryDetailsCoordinator::attemptToUpdate(const Foundation::URL& otpAuthURL, bool shouldSelectTOTPSecretKeyInput)
{
    const auto* editing = m_state.as<State::Editing>();
    if (!editing)
        return;
    auto context = editing->editingContext;
    auto entryID = editing->entryID;
    try {
        if (auto entry = m_state.entry()) {
            if (auto name = Shared::otpAuthServiceName(otpAuthURL); name && entry->title.isEmpty())
                context->setText(*name, Shared::Entry::SystemField::ID::title, entryID);
            if (auto username = Shared::otpAuthUsername(otpAuthURL); username && entry->username.isEmpty())
                context->setText(*username, Shared::Entry::SystemField::ID::username, entryID);
            if (auto issuer = Shared::otpAuthIssuer(otpAuthURL)) {
                if (entry->website.isEmpty()) {
                    context->setText(*issuer, Shared::Entry::SystemField::ID::website, entryID);
                } else if (auto url = Foundation::URL::string(Basalwork::prependedWithHTTPSIfNoOtherProtocolDetected(*issuer))) {
                    if (auto host = url->host(); host && !host->isEmpty())
                        context->stampServiceIdentifiers({Shared::Entry::ServiceIdentifier {*host, Foundation::Date::now()}}, entryID);
                }
            }
        }
        context->setText(otpAuthURL.absoluteString(), Shared::Entry::SystemField::ID::totpSecretKey, entryID);
    } catch (const Foundation::Error& error) {
        handleUnexpectedError(error, "attemptToUpdate(otpAuthURL:shouldSelectTOTPSecretKeyInput:)", true);
        return;
    }
    if (!shouldSelectTOTPSecretKeyInput)
        return;
    double delay = Basalwork::isBeingDisplayedInExpandedSplitView(*this) ? 0.001 : 0.5;
    std::weak_ptr<EntryDetailsCoordinator> weak = sharedSelf(this);
    Basalwork::asyncAfter(*Foundation::DispatchQueue::main(), delay, [weak] {
        if (auto self = weak.lock())
            self->m_entryDetailsVC->selectTOTPSecretKeyInput(true);
    });
}

void EntryDetailsCoordinator::updateAutoFillAvailability(bool animated)
{
    try {
        auto current = m_state.autoFillAvailability();
        auto stored = dependencies().recordStore->autoFillAvailability();
        if (!current || *current == stored) {
            updateView(animated);
            return;
        }
        apply(m_state.with(stored, std::nullopt), false, animated);
    } catch (const Foundation::Error&) {
    }
}

void EntryDetailsCoordinator::saveCurrentEdits()
{
    const auto* editing = m_state.editingPayload();
    if (!editing || !editing->editingContext || !editing->editingContext->hasChanges())
        return;
    if (!m_state.entry() || !editing->editingContext->hasChanges(editing->entryID))
        return;
    editing->editingContext->save();
    startSync();
}

void EntryDetailsCoordinator::startSync()
{
    if (const auto& syncCoordinator = dependencies().syncCoordinator)
        syncCoordinator->sync();
}

Shared::EntryDetailsVCConcealState EntryDetailsCoordinator::makeConcealState() const
{
    auto concealState = m_state.concealState().value_or(m_lastConcealState);
    bool enabled = dependencies().preferenceStore->concealing() == Shared::Settings::Auth::Concealing::enabled;
    return concealState.withMode(enabled ? Shared::EntryDetailsVCConcealState::Mode::enabled : Shared::EntryDetailsVCConcealState::Mode::disabled)
        .clearingRevealedIDs();
}

State EntryDetailsCoordinator::viewingState(const String& entryID) const
{
    const auto& services = dependencies();
    State::Viewing viewing;
    viewing.entryID = entryID;
    viewing.recordStore = services.recordStore;
    auto concealState = m_state.concealState().value_or(m_lastConcealState);
    if (services.preferenceStore->concealing() == Shared::Settings::Auth::Concealing::disabled)
        concealState = concealState.withMode(Shared::EntryDetailsVCConcealState::Mode::disabled);
    viewing.concealState = concealState.clearingRevealedIDs(false);
    viewing.historyVisibility = m_state.historyVisibility().value_or(m_lastHistoryVisibility);
    if (services.recordStore->autoFillAvailability() == RecordStoreAutoFillAvailability::enabled) {
        auto entry = services.recordStore->entry(entryID);
        if (entry && hasAutoFillDomains(*entry))
            viewing.autoFillDomains = EntryDetailsVCAutoFillDomainsState::shown;
    }
    viewing.backButton = traitCollection().horizontalSizeClass == UIKit::UIUserInterfaceSizeClass::regular
        ? Shared::EntryDetailsVCBackButtonVisibility::hidden
        : Shared::EntryDetailsVCBackButtonVisibility::visible;
    return viewing;
}

void EntryDetailsCoordinator::dismissIfPresentedByDelegate()
{
    if (auto delegate = this->delegate(); delegate && delegate->isPresenting(*this))
        delegate->dismissPresented(*this);
}

void EntryDetailsCoordinator::didSelectCancel()
{
    const auto* editing = m_state.as<State::Editing>();
    if (!editing)
        return;
    auto entryID = editing->entryID;
    try {
        const auto& recordStore = dependencies().recordStore;
        if (!recordStore->containsEntry(entryID)) {
            apply(State::Empty {}, false, true);
            dismissIfPresentedByDelegate();
            return;
        }
        auto delegate = this->delegate();
        if (delegate && delegate->isSelectingMultipleEntries()) {
            apply(State::MultipleSelection {{entryID}, recordStore}, false, true);
            return;
        }
        apply(viewingState(entryID), false, true);
    } catch (const Foundation::Error& error) {
        handleUnexpectedError(error, "didSelectCancel()", true);
    }
}

void EntryDetailsCoordinator::cancelAfterAsking()
{
    const auto* editing = m_state.as<State::Editing>();
    if (!editing)
        return;
    if (presentedViewController())
        return;
    if (!editing->editingContext || !editing->editingContext->hasChanges(editing->entryID))
        return didSelectCancel();
    std::weak_ptr<EntryDetailsCoordinator> weak = sharedSelf(this);
    auto entryID = editing->entryID;
    present(Shared::UIAlertControllers::makeDiscardChangesConfirmation([weak, entryID] {
                auto self = weak.lock();
                // Only the edit that was asked about is thrown away.
                if (const auto* still = self ? self->m_state.as<State::Editing>() : nullptr; still && still->entryID == entryID)
                    self->didSelectCancel();
            }),
            true);
}

// --- The Option key and key commands -----------------------------------------------------------------

void EntryDetailsCoordinator::revealAllSecureFieldsViaOverride()
{
    if (!m_state.is<State::Viewing>())
        return;
    try {
        apply(m_state.revealingAllSecureEntryFieldsViaOverride(), false, true);
    } catch (const Foundation::Error&) {
    }
}

void EntryDetailsCoordinator::removeConcealOverrides()
{
    if (!m_state.is<State::Viewing>())
        return;
    try {
        apply(m_state.removingConcealStateOverrides(), false, true);
    } catch (const Foundation::Error&) {
    }
}

bool EntryDetailsCoordinator::isEscapeOffered() const
{
    if (m_state.is<State::Viewing>())
        return splitViewController() == nullptr;
    if (m_state.is<State::Editing>())
        return isFirstResponder() || !Basalwork::findFirstResponder(*this);
    return false;
}

std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> EntryDetailsCoordinator::keyCommands() const
{
    std::vector<std::shared_ptr<UIKit::UIKeyCommand>> commands;
    if (presentedViewController())
        return commands;
    if (m_state.is<State::Editing>()) {
        commands.push_back(Shared::UIKeyCommands::withInput(String("\t"), UIKit::UIKeyModifierFlags(), Foundation::Selector("tabKeyPressed"), true));
        commands.push_back(
            Shared::UIKeyCommands::withInput(String("\t"), UIKit::UIKeyModifierFlags::shift(), Foundation::Selector("shiftTabKeyPressed"), true));
    }
    if (isEscapeOffered())
        commands.push_back(
            Shared::UIKeyCommands::withInput(UIKit::UIKeyCommand::inputEscape(), UIKit::UIKeyModifierFlags(), Foundation::Selector("escapeKeyPressed"), true));
    return commands;
}

void EntryDetailsCoordinator::tabKeyPressed()
{
    if (!presentedViewController() && m_state.is<State::Editing>())
        m_entryDetailsVC->selectNextInput(true);
}

void EntryDetailsCoordinator::shiftTabKeyPressed()
{
    if (!presentedViewController() && m_state.is<State::Editing>())
        m_entryDetailsVC->selectPreviousInput(true);
}

void EntryDetailsCoordinator::escapeKeyPressed()
{
    if (!isEscapeOffered())
        return;
    if (m_state.is<State::Editing>())
        cancelAfterAsking();
    else if (m_state.is<State::Viewing>())
        dismissIfPresentedByDelegate();
}

// --- Notifications ------------------------------------------------------------------------------------

bool EntryDetailsCoordinator::isAuthenticated() const
{
    const auto& store = dependencies().authenticationStore;
    return store && store->authenticationState().isAuthenticated();
}

void EntryDetailsCoordinator::registerForNotifications()
{
    const auto& services = dependencies();
    const auto& center = services.notificationCenter;
    auto queue = Foundation::OperationQueue::main();
    std::weak_ptr<EntryDetailsCoordinator> weak = sharedSelf(this);
    auto observe = [&](const Foundation::Notification::Name& name, const std::shared_ptr<Foundation::NSObject>& object,
                       std::function<void(EntryDetailsCoordinator&)> effect) {
        m_observers.push_back(center->addObserver(name, object, queue, [weak, effect = std::move(effect)](const Foundation::Notification&) {
            if (auto self = weak.lock())
                effect(*self);
        }));
    };
    observe(Shared::AuthenticationStore::authenticationStoreDidUpdateAuthenticationState(), services.authenticationStore,
            [](EntryDetailsCoordinator& self) {
                if (self.isAuthenticated())
                    return self.updateAutoFillAvailability(true);
                // What the column shows in front of itself (a preview, a picker, a share sheet) shows
                // secrets or holds a decrypted copy: it goes with the lock, as the window's own do.
                if (self.presentedViewController())
                    self.dismiss(true);
            });
    observe(Shared::RecordStore::recordStoreDidUpdateRecords(), services.recordStore, [](EntryDetailsCoordinator& self) {
        if (!self.isAuthenticated())
            return;
        try {
            self.updateView(true);
        } catch (const Foundation::Error&) {
        }
    });
    observe(Shared::RecordStore::recordStoreDidUpdateAutoFillAvailability(), services.recordStore, [](EntryDetailsCoordinator& self) {
        if (self.isAuthenticated())
            self.updateAutoFillAvailability(true);
    });
    observe(Shared::RecordStore::recordStoreDidPermanentlyResetLocalAndRemoteRecords(), services.recordStore, [](EntryDetailsCoordinator& self) {
        try {
            self.apply(State::Empty {}, false, true);
        } catch (const Foundation::Error&) {
        }
    });
    observe(Shared::PreferenceStore::preferenceStoreDidUpdate(), services.preferenceStore, [](EntryDetailsCoordinator& self) {
        if (!self.isAuthenticated())
            return;
        try {
            if (self.m_state.is<State::Viewing>())
                self.apply(self.m_state.withConcealState(self.makeConcealState()), false, true);
            else
                self.apply(self.m_state, false, true);
        } catch (const Foundation::Error&) {
        }
    });
    observe(UIKit::UIApplication::willTerminateNotification(), nullptr, [](EntryDetailsCoordinator& self) {
        try {
            self.saveCurrentEdits();
        } catch (const Foundation::Error&) {
        }
    });
}

} // namespace Corvendale
