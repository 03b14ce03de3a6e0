#include "Corvendale/App/MainCoordinator.DetailsColumn.hpp"

#include "Corvendale/App/AppKitBridge.hpp"
#include "Corvendale/App/SyncCoordinator.hpp"

#include "Shared/Entry.SystemField.hpp"
#include "Shared/EntryDetailsVC.hpp"
#include "Shared/PreferenceStore.hpp"
#include "Shared/RecordStore.EditingContext.hpp"
#include "Shared/RecordStore.hpp"

#include "Basalwork/Interface/UIViewController.hpp"

#include "Platform/Foundation/Error.hpp"
#include "Platform/UIKit/UIView.hpp"

namespace Corvendale {

MainCoordinatorDetailsColumn::MainCoordinatorDetailsColumn()
    : MainCoordinatorDetailsColumn(Foundation::make<Shared::EntryDetailsVC>())
{
}

MainCoordinatorDetailsColumn::MainCoordinatorDetailsColumn(std::shared_ptr<Shared::EntryDetailsVC> entryDetailsVC)
    : CoordinatingViewController(entryDetailsVC)
    , m_entryDetailsVC(std::move(entryDetailsVC))
{
}

void MainCoordinatorDetailsColumn::presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated,
                                                         std::function<void()> completion)
{
    present(viewController, animated, std::move(completion));
}

void MainCoordinatorDetailsColumn::viewWillAppear(bool animated)
{
    CoordinatingViewController::viewWillAppear(animated);
    try {
        updateView(false);
    } catch (const Foundation::Error&) {
        // The screen keeps what it showed; the next state change tries again.
    }
}

void MainCoordinatorDetailsColumn::transition(State to, bool saveCurrentEdits, bool becomeFirstResponder, bool animated)
{
    if (saveCurrentEdits)
        this->saveCurrentEdits();
    m_state = std::move(to);
    if (const auto* editing = m_state.editingPayload()) {
        try {
            editing->editingContext->prepareForEditing(editing->entryID);
        } catch (const Foundation::Error&) {
        }
        setIsModalInPresentation(true);
        if (becomeFirstResponder)
            this->becomeFirstResponder();
    } else {
        Basalwork::endEditing(*this);
        setIsModalInPresentation(false);
    }
    m_entryDetailsVC->stateDidChange();
    updateView(animated);
}

void MainCoordinatorDetailsColumn::updateView(bool animated)
{
    const auto& services = dependencies();
    m_entryDetailsVC->update(m_state, services.appExecutionContext, services.preferenceStore, services.recordStore,
                             AppKitBridge::isMainWindowPinned(services.appKitBridge), animated, nullptr);
}

void MainCoordinatorDetailsColumn::saveCurrentEdits()
{
    const auto* editing = m_state.editingPayload();
    if (!editing || !editing->editingContext->hasChanges())
        return;
    auto entry = m_state.entry();
    if (!entry || !editing->editingContext->hasChanges(editing->entryID))
        return;
    editing->editingContext->save();
    if (const auto& sync = dependencies().syncCoordinator)
        sync->sync();
}

void MainCoordinatorDetailsColumn::transitionToEdit(const Foundation::String& entryID, bool saveCurrentEdits,
                                                    const std::optional<Foundation::URL>&, bool animated)
{
    if (const auto* editing = m_state.editingPayload(); editing && editing->entryID == entryID)
        return;
    try {
        const auto& services = dependencies();
        auto entry = services.recordStore->entry(entryID);
        State::Editing editing;
        editing.entryID = entryID;
        editing.editingContext = services.recordStore->makeEditingContext();
        if (entry) {
            bool loginCategory = entry->category == Shared::Entry::Category::login || entry->category == Shared::Entry::Category::password;
            if (loginCategory || entry->showsEmptyLoginFields)
                editing.emptyLoginFields = Shared::EntryDetailsVCEmptyLoginFieldsVisibility::visible;
        }
        transition(State(std::move(editing)), saveCurrentEdits, true, animated);
    } catch (const Foundation::Error& error) {
        handleUnexpectedError(error, "transitionToEdit(entryID:saveCurrentEdits:otpAuthURLToAdd:animated:)", animated);
    }
}

void MainCoordinatorDetailsColumn::attemptToUpdate(const Foundation::URL& otpAuthURL, bool shouldSelectTOTPSecretKeyInput)
{
    const auto* editing = m_state.as<State::Editing>();
    if (!editing)
        return;
    try {
        editing->editingContext->setText(otpAuthURL.absoluteString(), Shared::Entry::SystemField::ID::totpSecretKey, editing->entryID);
    } catch (const Foundation::Error& error) {
        return handleUnexpectedError(error, "attemptToUpdate(otpAuthURL:shouldSelectTOTPSecretKeyInput:)", true);
    }
    if (shouldSelectTOTPSecretKeyInput)
        m_entryDetailsVC->selectTOTPSecretKeyInput(true);
}

void MainCoordinatorDetailsColumn::didSelectDone()
{
    const auto* editing = m_state.editingPayload();
    if (!editing)
        return;
    try {
        auto entryID = editing->entryID;
        saveCurrentEdits();
        State::Viewing viewing;
        viewing.entryID = entryID;
        viewing.recordStore = dependencies().recordStore;
        transition(State(std::move(viewing)), false, false, true);
    } catch (const Foundation::Error& error) {
        handleUnexpectedError(error, "didSelectDone(headerV:)", true);
    }
}

void MainCoordinatorDetailsColumn::revealAllSecureFieldsViaOverride()
{
    if (!m_state.is<State::Viewing>())
        return;
    try {
        transition(m_state.revealingAllSecureEntryFieldsViaOverride(), false, false, true);
    } catch (const Foundation::Error&) {
    }
}

void MainCoordinatorDetailsColumn::removeConcealOverrides()
{
    if (!m_state.is<State::Viewing>())
        return;
    try {
        transition(m_state.removingConcealStateOverrides(), false, false, true);
    } catch (const Foundation::Error&) {
    }
}

} // namespace Corvendale
