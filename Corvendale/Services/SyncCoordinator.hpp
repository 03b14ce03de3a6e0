#pragma once

#include "Shared/Syncwright/CloudKitRemoteDelegate.hpp"
#include "Shared/Syncwright/SyncOperationDelegate.hpp"
#include "Shared/Syncwright/SyncResult.hpp"
#include "Shared/Syncwright/SyncStatus.hpp"

#include "Basalwork/Base/ResultHandler.hpp"

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Notification.hpp"
#include "Platform/Foundation/Result.hpp"
#include "Platform/UIKit/UIBackgroundTaskIdentifier.hpp"

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace Basalwork {
class CodableStore;
}

namespace Foundation {
class NotificationCenter;
class UserDefaults;
}

namespace Metricove {
class AnalyticsStore;
}

namespace Shared {
class AttachmentDataStore;
class Importer;
class LocalChangeCoordinator;
class RecordStore;
}

namespace Syncwright {
class CloudKitRemote;
}

namespace UIKit {
class UIApplication;
}

namespace Corvendale {

// Decides when the record store is synchronised with the user's private CloudKit database: on
// activation, after local changes, imports and pushes, and when a screen asks. Owns the remote, answers
// its questions from the record store and the attachment store, keeps and publishes the status, holds a
// background task while a sync runs, and remembers which account the local records belong to.
//
// Made once by the container and kept for the process's life. The remote calls the delegate
// requirements on its own queues; everything else runs on the main thread.
class SyncCoordinator : public Foundation::NSObject, public Syncwright::CloudKitRemoteDelegate, public Syncwright::SyncOperationDelegate {
public:
    using SyncResultHandler = Basalwork::ResultHandler<Foundation::Result<Syncwright::SyncResult>>;

    static const Foundation::Notification::Name& syncCoordinatorDidUpdateSyncStatus();

    // Launch options.
    static constexpr const char* syncStatusOverrideOption = "--sync-coordinator-sync-status-override";
    static constexpr const char* ckAccountIDOverrideOption = "--sync-coordinator-set-ckAccountIdentifier-associated-with-current-records";
    // Kept in the application group's user defaults.
    static constexpr const char* ckAccountIDAssociatedWithCurrentRecordsKey = "SyncCoordinator.ckAccountIDAssociatedWithCurrentRecords";
    static constexpr const char* mostRecentlyForceRefetchedAppVersionKey = "SyncCoordinator.mostRecentlyForceRefetchedAppVersion";
    // The cache store's marker of the custom record zone.
    static constexpr const char* didCreateCustomRecordZoneItemID = "SyncCoordinator.didCreateCustomRecordZone";
    // The temporary folder of the attachment files being pushed.
    static constexpr const char* ckRecordAssetsFolderName = "SyncCoordinator.ckRecordAssets";

    const std::shared_ptr<Foundation::NotificationCenter>& notificationCenter() const { return m_notificationCenter; }
    const std::shared_ptr<Foundation::UserDefaults>& userDefaults() const { return m_userDefaults; }
    const std::shared_ptr<Shared::RecordStore>& recordStore() const { return m_recordStore; }
    const std::shared_ptr<Shared::AttachmentDataStore>& attachmentDataStore() const { return m_attachmentDataStore; }
    const std::shared_ptr<Syncwright::CloudKitRemote>& cloudKitRemote() const { return m_cloudKitRemote; }
    const std::shared_ptr<Metricove::AnalyticsStore>& analyticsStore() const { return m_analyticsStore; }
    const std::shared_ptr<Basalwork::CodableStore>& cacheStore() const { return m_cacheStore; }

    // A copy, taken under the coordinator's exclusion; safe from any thread.
    Syncwright::SyncStatus syncStatus() const;
    // Main thread: the application's background time is handled there.
    std::optional<UIKit::UIBackgroundTaskIdentifier> backgroundSyncTask() const { return m_backgroundSyncTask; }
    bool hasBecomeActiveAtLeastOnce() const { return m_hasBecomeActiveAtLeastOnce; }

    virtual void applyCKAccountIDOverride();
    virtual void startObserving();
    virtual void syncIfRequiredOnBecomingActive();
    virtual void importStatusDidUpdate();
    virtual void postSyncStatusDidUpdate();
    virtual void postMigrationDidUpdate();
    virtual void postOnboardingDidUpdate();
    virtual void postMasterPasswordsOrVaultsDidUpdate();
    virtual void postUserDidResetAccountRemotely();
    virtual void syncStatusDidUpdate();
    // While the vault is locked there is nothing to read the credentials from; its unlocking brings them.
    void replaceCredentialStoreIfUnlocked();
    // Once stored, the account is never replaced here: only `resetCKAccountAssociation` forgets it.
    virtual void associateCurrentRecordsWithCKAccountIfNeeded();
    // Association, refetch check, then the remote's sync on the global default-quality queue; the
    // handler gets the outcome on its own queue.
    virtual void sync(std::optional<SyncResultHandler> resultHandler);
    void sync() { sync(std::nullopt); }
    // Whether the stored refetch version is below 3.1.0 (or missing or unreadable).
    virtual bool shouldForceRefetch() const;
    // Makes the next sync set up and fetch everything again; a failure is tracked, not thrown.
    virtual void forceRefetch();
    // Forgets the account and all sync state. Throws what clearing the markers or the tokens threw.
    virtual void resetCKAccountAssociation();
    virtual void deleteCKRecordAssetTempDirectory();

    // Every sync's completion, whoever started the remote: tells the local-change coordinator after a
    // full sync, then hands the outcome to the handler.
    void syncDidFinish(const Foundation::Result<Syncwright::SyncResult>& result, const std::optional<SyncResultHandler>& resultHandler);

    // --- The remote's delegate (on its queues) ---------------------------------------------------------

    void cloudKitRemoteDidUpdate(const Syncwright::SyncStatus& syncStatus) override;
    bool needsSetup(const Foundation::String& itemID) override;
    void didCompleteSetup(const Foundation::String& itemID) override;
    void didCreateCustomRecordZone() override;
    std::vector<CloudKit::CKRecordID> locallyDeletedCKRecordIDs(std::int64_t resultLimit) override;
    std::vector<std::shared_ptr<CloudKit::CKRecord>> locallyModifiedCKRecords(std::int64_t resultLimit) override;
    void process(const std::vector<Syncwright::PushedModification>& pushedModifications) override;
    std::optional<Foundation::String> ckAccountIDAssociatedWithCurrentRecords() override;
    void didDeleteRecordZone(const CloudKit::CKRecordZoneID& zoneID) override;
    void processRemotelyDeleted(const std::vector<CloudKit::CKRecordID>& ckRecordIDs) override;
    void processRemotelyModified(const std::vector<std::shared_ptr<CloudKit::CKRecord>>& ckRecords) override;
    void processRecordsOfWholeZone(const std::set<CloudKit::CKRecordID>& ckRecordIDs) override;
    Foundation::ErrorPtr fetchedRecordsNotTakenIn() override;
    std::shared_ptr<CloudKit::CKServerChangeToken> changeToken(Syncwright::CKServerChangeToken::Key key) override;
    void setChangeToken(const std::shared_ptr<CloudKit::CKServerChangeToken>& token, Syncwright::CKServerChangeToken::Key key) override;

    ~SyncCoordinator() override;

protected:
    friend Foundation::Construct;
    // init(notificationCenter:userDefaults:recordStore:attachmentDataStore:importer:cloudKitRemote:
    // analyticsStore:localChangeCoordinator:cacheStore:). The coordinator becomes the remote's delegate and
    // takes its first status in `initialize()`.
    SyncCoordinator(std::shared_ptr<Foundation::NotificationCenter> notificationCenter, std::shared_ptr<Foundation::UserDefaults> userDefaults,
                    std::shared_ptr<Shared::RecordStore> recordStore, std::shared_ptr<Shared::AttachmentDataStore> attachmentDataStore,
                    std::shared_ptr<Shared::Importer> importer, std::shared_ptr<Syncwright::CloudKitRemote> cloudKitRemote,
                    std::shared_ptr<Metricove::AnalyticsStore> analyticsStore, std::shared_ptr<Shared::LocalChangeCoordinator> localChangeCoordinator,
                    std::shared_ptr<Basalwork::CodableStore> cacheStore);
    void initialize() override;

private:
    Syncwright::SyncStatus initialSyncStatus() const;
    bool shouldSyncNow() const;
    void deleteAllChangeTokens();
    void track(const Foundation::Error& error, const char* context) const;
    void postOnMainQueue(const Foundation::Notification::Name& name);
    // On the main queue, in the order the statuses came: holds a task while a sync runs.
    void updateBackgroundSyncTask(bool isSyncing);
    // Cancels the sync and ends its task at once, when that task is still the one held.
    void backgroundSyncTaskDidExpire(UIKit::UIBackgroundTaskIdentifier task);
    // The credential list, `delay` from now or once no sync runs when one runs then.
    void replaceCredentialStoreWhenNoSyncRuns(double delay);

    std::shared_ptr<Foundation::NotificationCenter> m_notificationCenter;
    std::shared_ptr<Foundation::UserDefaults> m_userDefaults;
    std::shared_ptr<Shared::RecordStore> m_recordStore;
    std::shared_ptr<Shared::AttachmentDataStore> m_attachmentDataStore;
    std::shared_ptr<Shared::Importer> m_importer;
    std::shared_ptr<Syncwright::CloudKitRemote> m_cloudKitRemote;
    std::shared_ptr<Metricove::AnalyticsStore> m_analyticsStore;
    std::shared_ptr<Shared::LocalChangeCoordinator> m_localChangeCoordinator;
    std::shared_ptr<Basalwork::CodableStore> m_cacheStore;
    std::shared_ptr<UIKit::UIApplication> m_application;

    // Guards what the remote's queues and the main thread share.
    mutable std::mutex m_mutex;
    Syncwright::SyncStatus m_syncStatus = Syncwright::SyncStatus::unknown();
    // Main thread only.
    std::optional<UIKit::UIBackgroundTaskIdentifier> m_backgroundSyncTask;
    // A deleted custom zone reaches the coordinator twice (the fetch names it, and the sync then fails as
    // a reset): the reset is announced once per sync.
    bool m_didPostResetDuringSync = false;

    bool m_hasBecomeActiveAtLeastOnce = false;
    std::vector<std::shared_ptr<Foundation::NSObject>> m_observers;
};

} // namespace Corvendale
