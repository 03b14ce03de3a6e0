#pragma once

#include "Shared/Model/Biometry.hpp"
#include "Shared/Model/EntryAttemptState.hpp"

#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <concepts>
#include <cstdint>
#include <optional>
#include <variant>

namespace Shared {

// Where the lock stands, as the authentication store keeps it. The lock screens map each case, by its
// position (0 to 32, the comment before each), to what they show; the order is fixed.
class AuthenticationState : public Foundation::Enumeration<AuthenticationState> {
public:
    // 0: the vault was written by a newer program; the screen offers the store listing.
    struct AppUpdateRequired {
        Foundation::String requiredVersion;
        friend bool operator==(const AppUpdateRequired&, const AppUpdateRequired&) = default;
    };
    // 1: restoring a backup replaces the vault, so its master password is asked for first.
    struct RestoreFromBackupMasterPasswordEntry {
        std::optional<Foundation::URL> fileURL;
        std::optional<EntryAttemptState> entryAttemptState;
        friend bool operator==(const RestoreFromBackupMasterPasswordEntry&, const RestoreFromBackupMasterPasswordEntry&) = default;
    };
    // 2: another process or device changed the master password; the new one unlocks.
    struct MasterPasswordChangedElsewhere {
        Foundation::Date changedAt;
        std::optional<EntryAttemptState> entryAttemptState;
        friend bool operator==(const MasterPasswordChangedElsewhere&, const MasterPasswordChangedElsewhere&) = default;
    };
    // 3: changing the master password starts with the current one.
    struct ChangeMasterPasswordEntry {
        bool isCancellable;
        std::optional<EntryAttemptState> entryAttemptState;
        friend bool operator==(const ChangeMasterPasswordEntry&, const ChangeMasterPasswordEntry&) = default;
    };
    // 4: what restoring from a backup does, with the file opened with the program (if any).
    struct RestoreFromBackupIntroduction {
        std::optional<Foundation::URL> fileURL;
        friend bool operator==(const RestoreFromBackupIntroduction&, const RestoreFromBackupIntroduction&) = default;
    };
    // 5: the password of the chosen backup file.
    struct BackupPasswordEntry {
        Foundation::URL fileURL;
        friend bool operator==(const BackupPasswordEntry&, const BackupPasswordEntry&) = default;
    };
    // 6: the backup is readable; confirm that it replaces the current data.
    struct ReplaceDataWithBackupConfirmation {
        Foundation::URL fileURL;
        Foundation::String backupPassword;
        friend bool operator==(const ReplaceDataWithBackupConfirmation&, const ReplaceDataWithBackupConfirmation&) = default;
    };
    // 7: the restored vault opens with the master password it was backed up with.
    struct RestoredVaultMasterPasswordEntry {
        friend bool operator==(const RestoredVaultMasterPasswordEntry&, const RestoredVaultMasterPasswordEntry&) = default;
    };
    // 8: the restore failed; 1 offers to send a failure report.
    struct RestoreFromBackupFailed {
        Foundation::String errorDescription;
        std::int64_t offersFailureReport;
        friend bool operator==(const RestoreFromBackupFailed&, const RestoreFromBackupFailed&) = default;
    };
    // 9: locked; the master password or, where offered, biometry unlocks.
    struct Locked {
        Biometry availableBiometry;
        bool isEntryRecommended;
        bool isBiometryDisabled;
        std::optional<EntryAttemptState> entryAttemptState;
        friend bool operator==(const Locked&, const Locked&) = default;
    };
    // 10: locked, and a biometric unlock is due.
    struct BiometricUnlockDue {
        friend bool operator==(const BiometricUnlockDue&, const BiometricUnlockDue&) = default;
    };
    // 11: a biometric evaluation is running.
    struct EvaluatingBiometry {
        bool isAutomatic;
        friend bool operator==(const EvaluatingBiometry&, const EvaluatingBiometry&) = default;
    };
    // 12: locked while the program is not active.
    struct LockedWhileInactive {
        friend bool operator==(const LockedWhileInactive&, const LockedWhileInactive&) = default;
    };
    // 13: setup step: syncing through the account.
    struct SyncOnboarding {
        friend bool operator==(const SyncOnboarding&, const SyncOnboarding&) = default;
    };
    // 14: no master password yet: create one.
    struct NoMasterPassword {
        friend bool operator==(const NoMasterPassword&, const NoMasterPassword&) = default;
    };
    // 15: setup step: AutoFill.
    struct AutoFillOnboarding {
        friend bool operator==(const AutoFillOnboarding&, const AutoFillOnboarding&) = default;
    };
    // 16: setup step: the folder of automatic backups.
    struct AutomaticBackupsOnboarding {
        friend bool operator==(const AutomaticBackupsOnboarding&, const AutomaticBackupsOnboarding&) = default;
    };
    // 17: the master password was just created; the store finishes the creation (its operation A).
    struct MasterPasswordCreated {
        friend bool operator==(const MasterPasswordCreated&, const MasterPasswordCreated&) = default;
    };
    // 18: the account was reset: a new master password, typed twice.
    struct NewMasterPasswordAfterReset {
        friend bool operator==(const NewMasterPasswordAfterReset&, const NewMasterPasswordAfterReset&) = default;
    };
    // 19: the authentication records could not be read.
    struct FailedToReadAuthenticationRecords {
        Foundation::ErrorPtr error;
        friend bool operator==(const FailedToReadAuthenticationRecords& lhs, const FailedToReadAuthenticationRecords& rhs)
        {
            return lhs.error == rhs.error;
        }
    };
    // 20: the backup was restored; the store finishes the restore (its operation B).
    struct RestoreFromBackupSucceeded {
        friend bool operator==(const RestoreFromBackupSucceeded&, const RestoreFromBackupSucceeded&) = default;
    };
    // 21: the authentication records could not be written.
    struct FailedToWriteAuthenticationRecords {
        Foundation::ErrorPtr error;
        friend bool operator==(const FailedToWriteAuthenticationRecords& lhs, const FailedToWriteAuthenticationRecords& rhs)
        {
            return lhs.error == rhs.error;
        }
    };
    // 22: a change of the master password was asked for.
    struct ChangeMasterPasswordRequested {
        friend bool operator==(const ChangeMasterPasswordRequested&, const ChangeMasterPasswordRequested&) = default;
    };
    // 23: the new master password, typed twice.
    struct NewMasterPasswordEntry {
        friend bool operator==(const NewMasterPasswordEntry&, const NewMasterPasswordEntry&) = default;
    };
    // 24: what resetting the account does.
    struct ResetAccountIntroduction {
        friend bool operator==(const ResetAccountIntroduction&, const ResetAccountIntroduction&) = default;
    };
    // 25: resetting the account failed.
    struct ResetAccountFailed {
        friend bool operator==(const ResetAccountFailed&, const ResetAccountFailed&) = default;
    };
    // 26: type the confirmation text to reset the account.
    struct ResetAccountConfirmation {
        friend bool operator==(const ResetAccountConfirmation&, const ResetAccountConfirmation&) = default;
    };
    // 27: the account is being reset.
    struct ResettingAccount {
        friend bool operator==(const ResettingAccount&, const ResettingAccount&) = default;
    };
    // 28: choose the backup file.
    struct ChoosingBackupFile {
        std::optional<Foundation::URL> fileURL;
        friend bool operator==(const ChoosingBackupFile&, const ChoosingBackupFile&) = default;
    };
    // 29: the backup is being restored.
    struct RestoringFromBackup {
        friend bool operator==(const RestoringFromBackup&, const RestoringFromBackup&) = default;
    };
    // 30: the new master password is being saved.
    struct SavingMasterPassword {
        friend bool operator==(const SavingMasterPassword&, const SavingMasterPassword&) = default;
    };
    // 31: the master password typed was wrong.
    struct PasswordAuthenticationFailed {
        EntryAttemptState entryAttemptState;
        friend bool operator==(const PasswordAuthenticationFailed&, const PasswordAuthenticationFailed&) = default;
    };
    // 32: unlocked.
    struct Authenticated {
        friend bool operator==(const Authenticated&, const Authenticated&) = default;
    };

    using Case = std::variant<AppUpdateRequired, RestoreFromBackupMasterPasswordEntry, MasterPasswordChangedElsewhere, ChangeMasterPasswordEntry,
                              RestoreFromBackupIntroduction, BackupPasswordEntry, ReplaceDataWithBackupConfirmation,
                              RestoredVaultMasterPasswordEntry, RestoreFromBackupFailed, Locked, BiometricUnlockDue, EvaluatingBiometry,
                              LockedWhileInactive, SyncOnboarding, NoMasterPassword, AutoFillOnboarding, AutomaticBackupsOnboarding,
                              MasterPasswordCreated, NewMasterPasswordAfterReset, FailedToReadAuthenticationRecords,
                              RestoreFromBackupSucceeded, FailedToWriteAuthenticationRecords, ChangeMasterPasswordRequested,
                              NewMasterPasswordEntry, ResetAccountIntroduction, ResetAccountFailed, ResetAccountConfirmation,
                              ResettingAccount, ChoosingBackupFile, RestoringFromBackup, SavingMasterPassword, PasswordAuthenticationFailed,
                              Authenticated>;
    static_assert(std::variant_size_v<Case> == 33);

    // A case is a state.
    template <class C>
        requires std::constructible_from<Case, C>
    AuthenticationState(C value) // NOLINT(google-explicit-constructor)
        : m_case(std::move(value))
    {
    }

    const Case& value() const { return m_case; }

    bool isAuthenticated() const { return is<Authenticated>(); }
    // The states of the restore-from-backup flow (1, 4 to 8, 20, 28, 29).
    bool isIncludedInRestoreFromBackupFlow() const;
    // The rejected attempt that the state shows, for the states that carry one.
    std::optional<EntryAttemptState> entryAttemptState() const;

    friend bool operator==(const AuthenticationState&, const AuthenticationState&) = default;

private:
    Case m_case;
};

} // namespace Shared
