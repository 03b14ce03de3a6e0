#include "Shared/Model/AuthenticationState.hpp"

namespace Shared {

bool AuthenticationState::isIncludedInRestoreFromBackupFlow() const
{
    return is<RestoreFromBackupMasterPasswordEntry>() || is<RestoreFromBackupIntroduction>() || is<BackupPasswordEntry>()
        || is<ReplaceDataWithBackupConfirmation>() || is<RestoredVaultMasterPasswordEntry>() || is<RestoreFromBackupFailed>()
        || is<RestoreFromBackupSucceeded>() || is<ChoosingBackupFile>() || is<RestoringFromBackup>();
}

std::optional<EntryAttemptState> AuthenticationState::entryAttemptState() const
{
    if (const auto* state = as<RestoreFromBackupMasterPasswordEntry>())
        return state->entryAttemptState;
    if (const auto* state = as<MasterPasswordChangedElsewhere>())
        return state->entryAttemptState;
    if (const auto* state = as<ChangeMasterPasswordEntry>())
        return state->entryAttemptState;
    if (const auto* state = as<Locked>())
        return state->entryAttemptState;
    if (const auto* state = as<PasswordAuthenticationFailed>())
        return state->entryAttemptState;
    return std::nullopt;
}

} // namespace Shared
