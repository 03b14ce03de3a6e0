#include "Corvendale/App/AuthenticationCoordinator.hpp"

#include "Shared/Model/PasswordEntryReEntryState.hpp"
#include "Shared/Screens/AuthenticationV.State.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"

namespace Corvendale {

using Shared::AuthenticationVState;

// The first master password, or a new one after the account reset: taken once typed twice alike.
std::optional<bool> AuthenticationCoordinator::createFlowPrimaryAction(const AuthenticationVState& state)
{
    using V = AuthenticationVState;
    const auto& store = dependencies().authenticationStore;
    if (state.is<V::CreateMasterPassword>()) {
        auto password = state.entryReEntryState().acceptedPassword();
        if (!password)
            return false;
        if (attempt([&] { store->createMasterPassword(*password); })) {
            clearTexts();
            attempt([&] { store->unlock(*password); });
        }
        return true;
    }
    if (state.is<V::NewMasterPasswordAfterReset>()) {
        auto password = state.entryReEntryState().acceptedPassword();
        if (!password)
            return false;
        attemptWithText(&Shared::AuthenticationStore::createMasterPassword, *password);
        return true;
    }
    return std::nullopt;
}

} // namespace Corvendale
