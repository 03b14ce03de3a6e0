#include "Corvendale/App/AuthenticationCoordinator.hpp"

#include "Shared/Model/AuthenticationState.hpp"
#include "Shared/Model/PasswordEntryReEntryState.hpp"
#include "Shared/Screens/AuthenticationV.State.hpp"
#include "Shared/Screens/AuthenticationVC.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"

namespace Corvendale {

using Shared::AuthenticationState;
using Shared::AuthenticationVState;

// Changing the master password: the current one first, then the new one typed twice alike.
std::optional<bool> AuthenticationCoordinator::changeFlowPrimaryAction(const AuthenticationVState& state)
{
    using V = AuthenticationVState;
    const auto& store = dependencies().authenticationStore;
    if (const auto* value = state.as<V::ChangeMasterPasswordEntry>()) {
        if (value->entryAttemptState || state.entryReEntryState().as<Shared::PasswordEntryReEntryState::TooShort>() != nullptr) {
            store->acknowledgeEntryAttempt();
            clearTexts();
        } else if (attempt([&] { store->verifyMasterPasswordToChange(value->entryText); })) {
            if (!store->authenticationState().is<AuthenticationState::ChangeMasterPasswordRequested>())
                m_authenticationVC->reloadInputViews();
            clearTexts();
        }
        return true;
    }
    if (state.is<V::NewMasterPasswordEntry>()) {
        const auto repetition = state.entryReEntryState();
        if (repetition.as<Shared::PasswordEntryReEntryState::TooShort>() != nullptr) {
            store->acknowledgeEntryAttempt();
            clearTexts();
        } else if (repetition.as<Shared::PasswordEntryReEntryState::Mismatch>() != nullptr) {
            return false;
        } else {
            attemptWithText(&Shared::AuthenticationStore::changeMasterPassword, *repetition.acceptedPassword());
        }
        return true;
    }
    return std::nullopt;
}

} // namespace Corvendale
