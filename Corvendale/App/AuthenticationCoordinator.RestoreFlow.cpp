#include "Corvendale/App/AuthenticationCoordinator.hpp"

#include "Corvendale/Screens/Details/MailCoordinator.hpp"

#include "Shared/Model/EntryAttemptState.hpp"
#include "Shared/Model/Global.hpp"
#include "Shared/Screens/AuthenticationV.State.hpp"
#include "Shared/Screens/AuthenticationVC.hpp"
#include "Shared/Screens/UIAlertController.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Transfer/BackupStore.hpp"

#include "Basalwork/Base/String.hpp"
#include "Basalwork/Interface/AlertController.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"

namespace Corvendale {

using Shared::AuthenticationVState;

namespace {

Foundation::String failureDescription(const Shared::BackupStoreRestoreOutcome& outcome)
{
    const auto* failed = outcome.as<Shared::BackupStoreRestoreOutcome::Failed>();
    return failed && failed->error ? Foundation::String(failed->error->description()) : Foundation::String();
}

} // namespace

// Restoring a backup: its file, its password, the confirmation that it replaces the vault, then the
// restored vault's master password; a failure offers a report.
std::optional<bool> AuthenticationCoordinator::restoreFlowPrimaryAction(const AuthenticationVState& state)
{
    using V = AuthenticationVState;
    const auto& store = dependencies().authenticationStore;
    const auto main = Foundation::DispatchQueue::main();
    std::weak_ptr<AuthenticationCoordinator> weak = sharedSelf(this);
    if (state.is<V::RestoreFromBackupIntroduction>()) {
        store->continueRestoringFromBackup();
    } else if (const auto* value = state.as<V::RestoreFromBackupMasterPasswordEntry>()) {
        acknowledgingThenTrying(value->entryAttemptState, &Shared::AuthenticationStore::verifyMasterPasswordToRestore, value->entryText);
    } else if (const auto* value = state.as<V::ChoosingBackupFile>()) {
        if (!value->fileURL)
            return false;
        store->chooseBackupFile(*value->fileURL);
    } else if (const auto* value = state.as<V::BackupPasswordEntry>()) {
        if (!Basalwork::hasAtLeastOneNonWhitespaceCharacter(value->entryText))
            return false;
        store->beginReadingBackup();
        auto fileURL = value->fileURL;
        auto password = value->entryText;
        dependencies().backupStore->readBackup(fileURL, password,
                                               Basalwork::ResultHandler<Shared::BackupStore::RestoreOutcome>(
                                                   main, [weak, fileURL, password](Shared::BackupStore::RestoreOutcome outcome) {
                                                       if (auto self = weak.lock())
                                                           self->backupWasRead(outcome, fileURL, password);
                                                   }));
    } else if (const auto* value = state.as<V::ReplaceDataWithBackupConfirmation>()) {
        store->confirmReplacingDataWithBackup();
        auto fileURL = value->fileURL;
        auto password = value->backupPassword;
        resetAccount(ResetResultHandler(main, [weak, fileURL, password](Foundation::Result<void> result) {
            auto self = weak.lock();
            if (!self)
                return;
            if (result.isFailure()) {
                self->dependencies().authenticationStore->restoreFromBackupDidFail(result.failureError()->description());
                return;
            }
            self->dependencies().backupStore->restoreBackup(
                fileURL, password,
                Basalwork::ResultHandler<Shared::BackupStore::RestoreOutcome>(Foundation::DispatchQueue::main(), [weak](Shared::BackupStore::RestoreOutcome outcome) {
                    if (auto self = weak.lock())
                        self->backupWasRestored(outcome);
                }));
        }));
    } else if (const auto* value = state.as<V::RestoredVaultMasterPasswordEntry>()) {
        attempt([&] { store->unlockRestoredVault(value->entryText); });
    } else if (const auto* value = state.as<V::RestoreFromBackupFailed>()) {
        if (value->offersFailureReport == 1)
            presentRestoreFailureReport(true);
        store->beginRestoringFromBackup(std::nullopt);
    } else {
        return std::nullopt;
    }
    return true;
}

void AuthenticationCoordinator::backupWasRead(const Shared::BackupStoreRestoreOutcome& outcome, const Foundation::URL& fileURL,
                                              const Foundation::String& password)
{
    const auto& store = dependencies().authenticationStore;
    if (outcome.as<Shared::BackupStoreRestoreOutcome::Restored>())
        store->backupIsReadyToReplaceData(fileURL, password);
    else
        store->restoreFromBackupDidFail(failureDescription(outcome));
}

void AuthenticationCoordinator::backupWasRestored(const Shared::BackupStoreRestoreOutcome& outcome)
{
    const auto& store = dependencies().authenticationStore;
    if (outcome.as<Shared::BackupStoreRestoreOutcome::Restored>())
        store->restoreFromBackupDidSucceed();
    else
        store->restoreFromBackupDidFail(failureDescription(outcome));
}

void AuthenticationCoordinator::presentRestoreFailureReport(bool animated)
{
    auto body = "Hello,\n\n" + Shared::Global::corvendale().utf8()
        + " encountered the following error while attempting to restore from backup. Please let me know as soon as this is resolved. "
          "Thanks in advance!\n\n=====\n\n"
        + m_authenticationVC->errorText().value_or(Foundation::String()).utf8() + "\n\n=====";
    MailCoordinator::compose(Shared::Global::Contact::infoEmailAddress(), Foundation::String("Restore from backup error"), Foundation::String(body),
                             std::nullopt, Foundation::String("Sending failure reports"), *this, animated);
}

} // namespace Corvendale
