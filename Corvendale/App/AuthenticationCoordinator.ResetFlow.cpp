#include "Corvendale/App/AuthenticationCoordinator.hpp"

#include "Corvendale/Services/SyncCoordinator.hpp"

#include "Shared/Screens/AuthenticationV.State.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Syncwright/CloudKitRemote.hpp"

#include "Basalwork/Interface/AlertController.hpp"

#include "Platform/CloudKit/CKError.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/UIKit/UIAlertAction.Style.hpp"
#include "Platform/UIKit/UIAlertAction.hpp"
#include "Platform/UIKit/UIAlertController.Style.hpp"

namespace Corvendale {

using Shared::AuthenticationVState;

// The account reset: the introduction, the typed confirmation, then the account's data on iCloud and
// the local records go, and the vault is set up afresh.
std::optional<bool> AuthenticationCoordinator::resetFlowPrimaryAction(const AuthenticationVState& state)
{
    using V = AuthenticationVState;
    const auto& store = dependencies().authenticationStore;
    if (state.is<V::ResetAccountIntroduction>()) {
        store->startResettingAccount();
        return true;
    }
    if (state.is<V::ResetAccountFailed>()) {
        store->accountResetDidFail();
        return true;
    }
    const auto* confirmation = state.as<V::ResetAccountConfirmation>();
    if (!confirmation)
        return std::nullopt;
    if (!V::matchesResetAccountConfirmationText(confirmation->entryText))
        return false;
    store->confirmResettingAccount();
    std::weak_ptr<AuthenticationCoordinator> weak = sharedSelf(this);
    resetAccount(ResetResultHandler(Foundation::DispatchQueue::main(), [weak](Foundation::Result<void> result) {
        if (auto self = weak.lock())
            self->performAccountReset(result);
    }));
    return true;
}

void AuthenticationCoordinator::notifyDidResetAccount()
{
    std::weak_ptr<AuthenticationCoordinator> weak = sharedSelf(this);
    Foundation::DispatchQueue::main()->async([weak] {
        if (auto self = weak.lock())
            self->dependencies().notificationCenter->post(authenticationCoordinatorDidResetAccount(), self);
    });
}

void AuthenticationCoordinator::resetLocalRecordsAndSyncState()
{
    dependencies().recordStore->deleteAllLocalRecords();
    dependencies().syncCoordinator->resetCKAccountAssociation();
    m_hasPassedInitialFetch = false;
}

void AuthenticationCoordinator::resetAccount(ResetResultHandler resultHandler)
{
    const auto& sync = dependencies().syncCoordinator;
    const auto& remote = sync->cloudKitRemote();
    remote->stop();
    // Only a signed-in account has data on iCloud to delete.
    if (!remote->ckAccountIdentifier()) {
        remote->stop();
        auto result = Foundation::Result<void>::catching([&] { resetLocalRecordsAndSyncState(); });
        if (result.isSuccess())
            notifyDidResetAccount();
        resultHandler.invokeAsynchronously(result);
        return;
    }
    std::weak_ptr<AuthenticationCoordinator> weak = sharedSelf(this);
    remote->deleteRemoteData(Foundation::DispatchQueue::main(), [weak, resultHandler](const Foundation::Result<void>& deletion) {
        auto self = weak.lock();
        if (!self)
            return;
        if (deletion.isFailure()) {
            resultHandler.invokeAsynchronously(deletion);
            return;
        }
        const auto& sync = self->dependencies().syncCoordinator;
        sync->cloudKitRemote()->stop();
        // A local reset that fails leaves the old records in place: reported like the deletion's failure,
        // with no sync and no announcement, so the user can try again.
        auto local = Foundation::Result<void>::catching([&] { self->resetLocalRecordsAndSyncState(); });
        if (local.isFailure()) {
            resultHandler.invokeAsynchronously(local);
            return;
        }
        sync->sync(SyncCoordinator::SyncResultHandler(Foundation::DispatchQueue::main(), [weak, resultHandler](Foundation::Result<Syncwright::SyncResult> synced) {
            resultHandler.invokeAsynchronously(synced.isSuccess() ? Foundation::Result<void>::success()
                                                                  : Foundation::Result<void>::failure(synced.failureError()));
            if (auto self = weak.lock())
                self->notifyDidResetAccount();
        }));
    });
}

void AuthenticationCoordinator::performAccountReset(const Foundation::Result<void>& result)
{
    const auto& store = dependencies().authenticationStore;
    if (result.isSuccess()) {
        store->lock(Shared::AuthenticationStore::LockKind::reloadRecords, true, false, std::string(qualifiedTypeName) + ".performAccountReset()");
        return;
    }
    const auto error = result.failureError();
    const auto code = CloudKit::ckErrorCode(*error);
    if (code == CloudKit::CKError::Code::networkUnavailable || code == CloudKit::CKError::Code::networkFailure) {
        auto alert = Foundation::make<Basalwork::AlertController>(Foundation::String("Internet Connection Required"),
                                                                 Foundation::String("Please ensure you have an active internet connection and try again."),
                                                                 UIKit::UIAlertController::Style::alert);
        std::weak_ptr<AuthenticationCoordinator> weak = sharedSelf(this);
        alert->addAction(Foundation::make<UIKit::UIAlertAction>(Foundation::String("OK"), UIKit::UIAlertAction::Style::default_, [weak](const auto&) {
            if (auto self = weak.lock())
                self->dependencies().authenticationStore->accountResetDidFail();
        }));
        present(alert, true);
        return;
    }
    handleUnexpectedError(*error, Foundation::String("performAccountReset()"));
    store->accountResetDidFail();
}

void AuthenticationCoordinator::handleUserDidResetCorvendaleRemotely()
{
    dependencies().syncCoordinator->cloudKitRemote()->stop();
    try {
        resetLocalRecordsAndSyncState();
    } catch (const Foundation::Error& error) {
        handleUnexpectedError(error, Foundation::String("handleUserDidResetCorvendaleRemotely()"));
    }
    dependencies().authenticationStore->lock(Shared::AuthenticationStore::LockKind::reloadRecords, true, true,
                                             std::string(qualifiedTypeName) + ".handleUserDidResetCorvendaleRemotely()");
}

} // namespace Corvendale
