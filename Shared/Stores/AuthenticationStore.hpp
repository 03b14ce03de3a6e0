#pragma once

#include "Shared/Crypto/Cryptor.hpp"
#include "Shared/Model/AppExecutionContext.hpp"
#include "Shared/Model/AuthenticationState.hpp"
#include "Shared/Model/Biometry.hpp"
#include "Shared/Stores/AuthenticationRecordSource.hpp"
#include "Shared/Stores/BackupKeySource.hpp"

#include "Basalwork/Base/File.Location.hpp"

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Notification.hpp"

#include <memory>
#include <optional>

namespace Foundation {
class NotificationCenter;
class UserDefaults;
} // namespace Foundation

namespace Metricove {
class AnalyticsStore;
}

namespace Shared {

class FolderWatcher;
class PreferenceStore;

// The lock: the master password (verified by unwrapping the vault key with the key Argon2id derives from
// it), biometric unlocking, failed attempts and the flows that replace or reset the vault. Its records
// live in the application group ("Library/Application Support/AuthenticationStore"), so the program and
// its AutoFill extension unlock the same vault; each process holds its own unlocked key. Every change of
// the state posts `authenticationStoreDidUpdateAuthenticationState`; a change of the records also posts
// `authenticationStoreDidUpdateAuthenticationRecords`. Used from the main thread.
class AuthenticationStore : public Foundation::NSObject, public BackupKeySource {
public:
    using RecordSource = AuthenticationRecordSource;

    // What a lock leaves possible: 0 the master password only, 1 biometry too (where the method offers
    // it), 2 the vault changed underneath (an account reset or repaired records): the records are read
    // again, and after an account reset they are gone.
    enum class LockKind { requireMasterPassword = 0, allowBiometry = 1, reloadRecords = 2 };
    // What asks for an automatic biometric unlock.
    enum class AutomaticBiometryTrigger { launch = 0, becameActive = 1, extensionRequest = 2 };

    // Failed attempts before entry is held back, and the longest wait.
    static constexpr std::int64_t freeAttemptCount = 5;
    static constexpr double maximumEntryDelay = 3600;

    static const Foundation::Notification::Name& authenticationStoreDidUpdateAuthenticationState();
    static const Foundation::Notification::Name& authenticationStoreDidUpdateAuthenticationRecords();

    AuthenticationState authenticationState() const;
    const std::shared_ptr<Foundation::NotificationCenter>& notificationCenter() const { return m_notificationCenter; }
    // The biometry the lock screen and the menu offer: the first of the method's biometries that the
    // machine can evaluate, or none.
    Biometry availableBiometry() const;

    // What every entry point of the extension reports first, in this order.
    void reloadAuthenticationRecords(const Foundation::String& caller);
    void applyExpiration(const Foundation::String& caller);
    void attemptAutomaticBiometry(AutomaticBiometryTrigger trigger, const Foundation::String& caller);

    // States 14 and 18. Throws AuthenticationStoreError (too short, already created) or the write's failure.
    void createMasterPassword(const Foundation::String& password);
    // State 17 (operation A): on to the set-up steps, or unlocked.
    void finishCreatingMasterPassword();
    // A wrong password is no failure: it shows as state 31. Throws only when the records cannot be used.
    void unlock(const Foundation::String& masterPassword);
    void unlockWithAvailableBiometry();
    // The user saw the rejected attempt; the count stays for holding entry back.
    void acknowledgeEntryAttempt();
    // `resetsEntryAttempts` forgets failed attempts; `attemptsAutomaticBiometry` makes a biometric
    // unlock due at once (true), never (false) or as the preference says (nothing). `caller` names the
    // operation in the log.
    void lock(LockKind kind, bool resetsEntryAttempts, std::optional<bool> attemptsAutomaticBiometry, const Foundation::String& caller);

    // Changing the master password: the current one, then the new one typed twice.
    void beginChangingMasterPassword();
    void verifyMasterPasswordToChange(const Foundation::String& masterPassword);
    void changeMasterPassword(const Foundation::String& newMasterPassword);
    void cancelChangingMasterPassword();
    // State 2: the master password another process set.
    void unlockWithChangedMasterPassword(const Foundation::String& masterPassword);

    // Restoring from a backup (4, 1, 28, 5, 29, 6, 29, 20, 7; 8 on failure).
    void beginRestoringFromBackup(const std::optional<Foundation::URL>& fileURL);
    void continueRestoringFromBackup();
    void verifyMasterPasswordToRestore(const Foundation::String& masterPassword);
    void chooseBackupFile(const Foundation::URL& fileURL);
    void beginReadingBackup();
    void backupIsReadyToReplaceData(const Foundation::URL& fileURL, const Foundation::String& backupPassword);
    void confirmReplacingDataWithBackup();
    void restoreFromBackupDidSucceed();
    // State 20 (operation B): the restored vault's records are read; its master password opens it.
    void finishRestoringFromBackup();
    void unlockRestoredVault(const Foundation::String& masterPassword);
    void restoreFromBackupDidFail(const Foundation::String& errorDescription);
    void cancelRestoringFromBackup();

    // Resetting the account (24, 26, 27; 25 on failure). A lock of kind 2 finishes it.
    void beginResettingAccount();
    void startResettingAccount();
    void confirmResettingAccount();
    void accountResetDidFail();
    void cancelResettingAccount();

    // The records that travel in backups, and those a restore brings back.
    std::optional<BackupKeyMaterial> backupKeyMaterial() const override;
    void restoreBackupKeyMaterial(const BackupKeyMaterial& material) override;

    ~AuthenticationStore() override;

protected:
    friend Foundation::Construct;
    AuthenticationStore(std::shared_ptr<Foundation::UserDefaults> userDefaults, std::shared_ptr<Foundation::NotificationCenter> notificationCenter,
                        std::shared_ptr<Metricove::AnalyticsStore> analyticsStore, std::shared_ptr<RecordSource> recordStore,
                        std::shared_ptr<PreferenceStore> preferenceStore, std::shared_ptr<BackupKeyTaker> backupStore,
                        AppExecutionContext appExecutionContext,
                        std::optional<Basalwork::File::Location> location = std::nullopt);
    void initialize() override;

private:
    struct Records;
    struct Attempts;

    std::optional<AuthenticationState> flowState() const;
    AuthenticationState lockedState() const;
    std::optional<EntryAttemptState> entryAttemptState(bool includingAcknowledged) const;
    bool isEntryHeldBack() const;
    void readRecords();
    void writeRecords(const Records& records);
    void writeRecordsFile(const Records& records);
    // Brings the local records and the account's copy together: the later change of the master password
    // wins on both sides. Answers whether the local records changed.
    bool reconcileSyncedRecords();
    void publishRecords(const Records& records);
    // Notes what the account was given last (see `wasPublished`).
    void markPublished(const Records& records);
    bool wasPublished(const Records& records) const;
    // Records of the account that replaced these; the state follows.
    void adoptSyncedRecords(const Records& records);
    Attempts readAttempts() const;
    void writeAttempts(const Attempts& attempts);
    void recordFailedAttempt();
    // Tells the screens when a hold on entry ends, since nothing else happens then.
    void announceEndOfHold(const Attempts& attempts);
    // Unwraps the vault key; nothing for a wrong password.
    std::optional<Cryptor::Key> unwrapVaultKey(const Foundation::String& masterPassword) const;
    void didUnlock(Cryptor::Key vaultKey);
    // The vault key the password opens as the safe-for-inspection password; nothing otherwise.
    std::optional<Cryptor::Key> safeForInspectionVaultKey(const Foundation::String& password) const;
    void didUnlockForInspection(Cryptor::Key vaultKey);
    bool biometryAllowed() const;
    void setFlow(std::optional<AuthenticationState> flow);
    void postStateChange();
    void postRecordsChange();
    // The program's locks reach the extension: the program marks each lock, and the extension locks too
    // when the mark changes.
    void markLockForExtension() const;
    std::string lockMark() const;
    void followProgramLock();

    std::shared_ptr<Foundation::NotificationCenter> m_notificationCenter;
    std::shared_ptr<RecordSource> m_recordStore;
    std::shared_ptr<PreferenceStore> m_preferenceStore;
    std::shared_ptr<BackupKeyTaker> m_backupStore;
    AppExecutionContext m_appExecutionContext;
    Basalwork::File::Location m_location;

    std::unique_ptr<Records> m_records;
    Foundation::ErrorPtr m_readError;
    std::optional<AuthenticationState> m_flow;
    bool m_isBiometricUnlockDue = false;
    bool m_isEvaluatingBiometry = false;
    bool m_isResettingAccount = false;
    bool m_wasAccountReset = false;
    bool m_isAwaitingSetupSteps = false;
    std::unique_ptr<Cryptor::Key> m_biometricKey;
    std::unique_ptr<Cryptor::Key> m_pendingVaultKey;
    std::optional<Foundation::Date> m_lastMasterPasswordUnlockAt;
    std::optional<Foundation::Date> m_enteredBackgroundAt;
    std::optional<Foundation::Date> m_knownMasterPasswordChangedAt;
    std::optional<Foundation::Date> m_announcedEndOfHold;
    std::vector<std::shared_ptr<Foundation::NSObject>> m_observers;
    std::string m_seenLockMark;
    std::unique_ptr<FolderWatcher> m_lockWatcher;
};

} // namespace Shared
