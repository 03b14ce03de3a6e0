#pragma once

#include "Shared/Model/AppExecutionContext.hpp"
#include "Shared/Model/Biometry.hpp"
#include "Shared/Model/EntryAttemptState.hpp"
#include "Shared/Model/PasswordEntryReEntryState.hpp"
#include "Shared/Stores/RecordStore.AutoFillAvailability.hpp"

#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <concepts>
#include <cstdint>
#include <optional>
#include <variant>

namespace Shared {

// What the unlock screen shows (AuthenticationV::State). The lock screens pick a case by its position
// (0 to 30, the comment before each); the order is fixed. Texts typed into the screen travel in the
// cases that have a field for them.
class AuthenticationVState : public Foundation::Enumeration<AuthenticationVState> {
public:
    // 0: the vault was written by a newer program.
    struct AppUpdateRequired {
        Foundation::String requiredVersion;
        friend bool operator==(const AppUpdateRequired&, const AppUpdateRequired&) = default;
    };
    // 1: no master password yet: create one, typed twice.
    struct CreateMasterPassword {
        Foundation::String entryText;
        Foundation::String reEntryText;
        friend bool operator==(const CreateMasterPassword&, const CreateMasterPassword&) = default;
    };
    // 2: set-up step: AutoFill.
    struct AutoFillOnboarding {
        RecordStoreAutoFillAvailability autoFillAvailability = RecordStoreAutoFillAvailability::unsupportedSystem;
        bool didConfigureAutoFillExtension = false;
        bool isNotificationPermissionPending = false;
        friend bool operator==(const AutoFillOnboarding&, const AutoFillOnboarding&) = default;
    };
    // 3: set-up step: the folder of automatic backups.
    struct AutomaticBackupsOnboarding {
        std::optional<Foundation::URL> backupFolder;
        friend bool operator==(const AutomaticBackupsOnboarding&, const AutomaticBackupsOnboarding&) = default;
    };
    // 4: the current master password before a backup replaces the vault.
    struct RestoreFromBackupMasterPasswordEntry {
        std::optional<Foundation::URL> fileURL;
        Foundation::String entryText;
        std::optional<EntryAttemptState> entryAttemptState;
        friend bool operator==(const RestoreFromBackupMasterPasswordEntry&, const RestoreFromBackupMasterPasswordEntry&) = default;
    };
    // 5: the account was reset: a new master password, typed twice.
    struct NewMasterPasswordAfterReset {
        Foundation::String entryText;
        Foundation::String reEntryText;
        friend bool operator==(const NewMasterPasswordAfterReset&, const NewMasterPasswordAfterReset&) = default;
    };
    // 6: the master password was changed elsewhere; the new one unlocks.
    struct MasterPasswordChangedElsewhere {
        Foundation::Date changedAt;
        Foundation::String entryText;
        std::optional<EntryAttemptState> entryAttemptState;
        friend bool operator==(const MasterPasswordChangedElsewhere&, const MasterPasswordChangedElsewhere&) = default;
    };
    // 7: changing the master password starts with the current one.
    struct ChangeMasterPasswordEntry {
        bool isCancellable = false;
        Foundation::String entryText;
        std::optional<EntryAttemptState> entryAttemptState;
        friend bool operator==(const ChangeMasterPasswordEntry&, const ChangeMasterPasswordEntry&) = default;
    };
    // 8: the new master password, typed twice.
    struct NewMasterPasswordEntry {
        Foundation::String entryText;
        Foundation::String reEntryText;
        friend bool operator==(const NewMasterPasswordEntry&, const NewMasterPasswordEntry&) = default;
    };
    // 9: type the confirmation text to reset the account.
    struct ResetAccountConfirmation {
        Foundation::String entryText;
        friend bool operator==(const ResetAccountConfirmation&, const ResetAccountConfirmation&) = default;
    };
    // 10: choose the backup file.
    struct ChoosingBackupFile {
        std::optional<Foundation::URL> fileURL;
        friend bool operator==(const ChoosingBackupFile&, const ChoosingBackupFile&) = default;
    };
    // 11: the password of the chosen backup.
    struct BackupPasswordEntry {
        Foundation::URL fileURL;
        Foundation::String entryText;
        friend bool operator==(const BackupPasswordEntry&, const BackupPasswordEntry&) = default;
    };
    // 12: the backup is readable; confirm that it replaces the current data.
    struct ReplaceDataWithBackupConfirmation {
        Foundation::URL fileURL;
        Foundation::String backupPassword;
        friend bool operator==(const ReplaceDataWithBackupConfirmation&, const ReplaceDataWithBackupConfirmation&) = default;
    };
    // 13: the restored vault opens with the master password it was backed up with.
    struct RestoredVaultMasterPasswordEntry {
        Foundation::String entryText;
        friend bool operator==(const RestoredVaultMasterPasswordEntry&, const RestoredVaultMasterPasswordEntry&) = default;
    };
    // 14: the restore failed; an offer of 1 lets the user send a failure report.
    struct RestoreFromBackupFailed {
        Foundation::String errorDescription;
        std::int64_t offersFailureReport = 0;
        friend bool operator==(const RestoreFromBackupFailed&, const RestoreFromBackupFailed&) = default;
    };
    // 15: a biometric evaluation is running.
    struct EvaluatingBiometry {
        bool isAutomatic = false;
        bool isCancelButtonVisible = false;
        friend bool operator==(const EvaluatingBiometry&, const EvaluatingBiometry&) = default;
    };
    // 16: locked: the master password or, where offered, biometry unlocks.
    struct Locked {
        Biometry availableBiometry = Biometry::none;
        bool isEntryRecommended = false;
        std::optional<EntryAttemptState> entryAttemptState;
        Foundation::String entryText;
        AppExecutionContext appExecutionContext = AppExecutionContext::extension();
        bool isCancelButtonVisible = false;
        friend bool operator==(const Locked&, const Locked&) = default;
    };
    // 17: the AutoFill extension was switched on; whether it copies one-time codes.
    struct AutoFillActivationConfirmation {
        bool isAutoCopyOTPDisabled = false;
        bool isNotificationPermissionPending = false;
        friend bool operator==(const AutoFillActivationConfirmation&, const AutoFillActivationConfirmation&) = default;
    };
    // 18: something failed; confirming locks again.
    struct EncounteredError {
        Foundation::String domain;
        std::int64_t code = 0;
        Foundation::String description;
        friend bool operator==(const EncounteredError&, const EncounteredError&) = default;
    };
    // 19: nothing to show yet.
    struct Loading {
        friend bool operator==(const Loading&, const Loading&) = default;
    };
    // 20: no first fetch from the account has completed yet.
    struct WaitingForInitialFetch {
        friend bool operator==(const WaitingForInitialFetch&, const WaitingForInitialFetch&) = default;
    };
    // 21: set-up step: syncing through the account.
    struct SyncOnboarding {
        friend bool operator==(const SyncOnboarding&, const SyncOnboarding&) = default;
    };
    // 22: what resetting the account does.
    struct ResetAccountIntroduction {
        friend bool operator==(const ResetAccountIntroduction&, const ResetAccountIntroduction&) = default;
    };
    // 23: resetting the account failed.
    struct ResetAccountFailed {
        friend bool operator==(const ResetAccountFailed&, const ResetAccountFailed&) = default;
    };
    // 24: the account is being reset.
    struct ResettingAccount {
        friend bool operator==(const ResettingAccount&, const ResettingAccount&) = default;
    };
    // 25: what restoring from a backup does.
    struct RestoreFromBackupIntroduction {
        friend bool operator==(const RestoreFromBackupIntroduction&, const RestoreFromBackupIntroduction&) = default;
    };
    // 26: the backup is being restored.
    struct RestoringFromBackup {
        friend bool operator==(const RestoringFromBackup&, const RestoringFromBackup&) = default;
    };
    // 27: the new master password is being saved.
    struct SavingMasterPassword {
        friend bool operator==(const SavingMasterPassword&, const SavingMasterPassword&) = default;
    };
    // 28: the AutoFill extension cannot go on here; the main program can.
    struct OpenMainApp {
        friend bool operator==(const OpenMainApp&, const OpenMainApp&) = default;
    };
    // 29: locked while the program is not active.
    struct LockedWhileInactive {
        friend bool operator==(const LockedWhileInactive&, const LockedWhileInactive&) = default;
    };
    // 30: unlocked: the screen shows nothing and lets what lies beneath be used.
    struct Authenticated {
        friend bool operator==(const Authenticated&, const Authenticated&) = default;
    };

    using Case = std::variant<AppUpdateRequired, CreateMasterPassword, AutoFillOnboarding, AutomaticBackupsOnboarding,
                              RestoreFromBackupMasterPasswordEntry, NewMasterPasswordAfterReset, MasterPasswordChangedElsewhere,
                              ChangeMasterPasswordEntry, NewMasterPasswordEntry, ResetAccountConfirmation, ChoosingBackupFile,
                              BackupPasswordEntry, ReplaceDataWithBackupConfirmation, RestoredVaultMasterPasswordEntry,
                              RestoreFromBackupFailed, EvaluatingBiometry, Locked, AutoFillActivationConfirmation, EncounteredError,
                              Loading, WaitingForInitialFetch, SyncOnboarding, ResetAccountIntroduction, ResetAccountFailed,
                              ResettingAccount, RestoreFromBackupIntroduction, RestoringFromBackup, SavingMasterPassword, OpenMainApp,
                              LockedWhileInactive, Authenticated>;
    static_assert(std::variant_size_v<Case> == 31);

    // What a person types to confirm an account reset.
    static constexpr const char* resetAccountConfirmationText = "RESET";
    // Whether the text confirms an account reset: the confirmation text exactly, surrounding whitespace
    // aside.
    static bool matchesResetAccountConfirmationText(const Foundation::String& text);

    // A case is a state.
    template <class C>
        requires std::constructible_from<Case, C>
    AuthenticationVState(C value) // NOLINT(google-explicit-constructor)
        : m_case(std::move(value))
    {
    }

    const Case& value() const { return m_case; }

    // The texts of the screen's first field and of its repetition, in the cases that have them.
    std::optional<Foundation::String> entryText() const;
    std::optional<Foundation::String> reEntryText() const;
    bool hasEntryField() const { return entryText().has_value(); }
    bool hasReEntryField() const { return reEntryText().has_value(); }
    // The same state with the typed texts; cases without the field stay as they are.
    AuthenticationVState withEntryText(const Foundation::String& text) const;
    AuthenticationVState withReEntryText(const Foundation::String& text) const;
    // The two texts judged as a new password (too short when the case has no field).
    PasswordEntryReEntryState entryReEntryState() const;
    std::optional<EntryAttemptState> entryAttemptState() const;
    // The file or folder the case shows.
    std::optional<Foundation::URL> locationURL() const;

    friend bool operator==(const AuthenticationVState&, const AuthenticationVState&) = default;

private:
    Case m_case;
};

} // namespace Shared
