#include "Corvendale/Services/SyncCoordinator.hpp"

#include "Shared/Crypto/Cryptor.hpp"
#include "Shared/Metricove/AnalyticsStore.hpp"
#include "Shared/Metricove/TrackableError.hpp"
#include "Shared/Model/Attachment.hpp"
#include "Shared/Model/Notification.Name.hpp"
#include "Shared/Stores/AttachmentDataStore.hpp"
#include "Shared/Stores/AttachmentObject.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/EntryObject.hpp"
#include "Shared/Stores/LocalChangeCoordinator.hpp"
#include "Shared/Stores/MasterPassword.hpp"
#include "Shared/Stores/Migrations.hpp"
#include "Shared/Stores/Onboarding.hpp"
#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Stores/Vault.hpp"
#include "Shared/Syncwright/CloudKitChangeToken.hpp"
#include "Shared/Syncwright/CloudKitRemote.hpp"
#include "Shared/Syncwright/PushedModification.hpp"
#include "Shared/Syncwright/SyncableType.hpp"
#include "Shared/Transfer/Importer.hpp"

#include "Basalwork/Base/Bundle.hpp"
#include "Basalwork/Base/CodableStore.hpp"
#include "Basalwork/Base/CommandLine.hpp"
#include "Basalwork/Base/DispatchQueue.hpp"
#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Base/NSManagedObjectContext.hpp"
#include "Basalwork/Base/SemanticVersion.hpp"

#include "Platform/CloudKit/CKAsset.hpp"
#include "Platform/CloudKit/NotificationNames.hpp"
#include "Platform/CoreData/NSManagedObjectContext.hpp"
#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/Calendar.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/Foundation/UserDefaults.hpp"
#include "Platform/UIKit/UIApplication.hpp"

#include <algorithm>

namespace Corvendale {

namespace {

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("Corvendale", "SyncCoordinator");
    return logger;
}

constexpr double activationSyncInterval = 4 * 60 * 60;
constexpr double failedSyncRetryInterval = 60;
constexpr double credentialStoreDelayAfterUnlock = 2;
constexpr double credentialStoreRetryInterval = 1;
constexpr Basalwork::SemanticVersion refetchVersion {3, 1, 0};

std::vector<Foundation::String> recordNames(const std::vector<CloudKit::CKRecordID>& ids)
{
    std::vector<Foundation::String> names;
    names.reserve(ids.size());
    for (const auto& id : ids)
        names.push_back(id.recordName());
    return names;
}

const Syncwright::SyncableType* typeNamed(const std::vector<Syncwright::SyncableType>& types, const Foundation::String& recordType)
{
    auto found = std::find_if(types.begin(), types.end(), [&](const auto& type) { return type.entityName() == recordType; });
    return found == types.end() ? nullptr : &*found;
}

// Work in the record store's context that fails leaves nothing behind for a later save to carry.
template <class Block>
auto performInContext(CoreData::NSManagedObjectContext& context, Block&& block)
{
    return Basalwork::performSynchronously(context, [&] {
        try {
            return block();
        } catch (...) {
            context.rollback();
            throw;
        }
    });
}

} // namespace

const Foundation::Notification::Name& SyncCoordinator::syncCoordinatorDidUpdateSyncStatus()
{
    static const auto& name = *new Foundation::Notification::Name("syncCoordinatorDidUpdateSyncStatus");
    return name;
}

SyncCoordinator::SyncCoordinator(std::shared_ptr<Foundation::NotificationCenter> notificationCenter, std::shared_ptr<Foundation::UserDefaults> userDefaults,
                                 std::shared_ptr<Shared::RecordStore> recordStore, std::shared_ptr<Shared::AttachmentDataStore> attachmentDataStore,
                                 std::shared_ptr<Shared::Importer> importer, std::shared_ptr<Syncwright::CloudKitRemote> cloudKitRemote,
                                 std::shared_ptr<Metricove::AnalyticsStore> analyticsStore,
                                 std::shared_ptr<Shared::LocalChangeCoordinator> localChangeCoordinator, std::shared_ptr<Basalwork::CodableStore> cacheStore)
    : m_notificationCenter(std::move(notificationCenter))
    , m_userDefaults(std::move(userDefaults))
    , m_recordStore(std::move(recordStore))
    , m_attachmentDataStore(std::move(attachmentDataStore))
    , m_importer(std::move(importer))
    , m_cloudKitRemote(std::move(cloudKitRemote))
    , m_analyticsStore(std::move(analyticsStore))
    , m_localChangeCoordinator(std::move(localChangeCoordinator))
    , m_cacheStore(std::move(cacheStore))
    , m_application(UIKit::UIApplication::shared())
{
}

void SyncCoordinator::initialize()
{
    m_cloudKitRemote->setDelegate(sharedSelf(this));
    auto status = initialSyncStatus();
    std::lock_guard lock(m_mutex);
    m_syncStatus = std::move(status);
}

SyncCoordinator::~SyncCoordinator()
{
    for (const auto& observer : m_observers)
        m_notificationCenter->removeObserver(observer);
}

Syncwright::SyncStatus SyncCoordinator::syncStatus() const
{
    std::lock_guard lock(m_mutex);
    return m_syncStatus;
}

Syncwright::SyncStatus SyncCoordinator::initialSyncStatus() const
{
    using Syncwright::SyncStatus;
    auto option = Basalwork::CommandLine::option(syncStatusOverrideOption);
    if (!option) {
        if (auto date = m_cloudKitRemote->mostRecentSuccessfulSyncDate())
            return SyncStatus::upToDate(*date);
        return SyncStatus::unknown();
    }
    auto value = option->valueArgument.value_or(Foundation::String());
    if (value == "disabled")
        return SyncStatus::disabled();
    if (value == "fetching")
        return SyncStatus::syncing(SyncStatus::Activity::fetching);
    if (value == "up-to-date")
        return SyncStatus::upToDate(Foundation::Date::now());
    if (value == "failed") {
        auto now = Foundation::Date::now();
        auto tenMinutesAgo = Foundation::Calendar::current().date(Foundation::Calendar::Component::minute, -10, now);
        return SyncStatus::failed(SyncStatus::Failure::error(Basalwork::GeneralError::failedWithMessage("Testing")), tenMinutesAgo.value_or(now - 600));
    }
    Foundation::fatalError("Unknown value of " + std::string(syncStatusOverrideOption) + ": \"" + value.utf8()
                           + "\" (disabled, fetching, up-to-date or failed)");
}

// --- Launch and observers ------------------------------------------------------------------------------

void SyncCoordinator::applyCKAccountIDOverride()
{
    auto option = Basalwork::CommandLine::option(ckAccountIDOverrideOption);
    if (!option)
        return;
    if (option->valueArgument)
        m_userDefaults->set(Foundation::PropertyListValue(*option->valueArgument), ckAccountIDAssociatedWithCurrentRecordsKey);
    else
        m_userDefaults->removeObject(ckAccountIDAssociatedWithCurrentRecordsKey);
}

void SyncCoordinator::startObserving()
{
    std::weak_ptr<SyncCoordinator> weak = sharedSelf(this);
    auto observe = [&](const Foundation::Notification::Name& name, void (*action)(SyncCoordinator&)) {
        m_observers.push_back(m_notificationCenter->addObserver(name, nullptr, Foundation::OperationQueue::main(), [weak, action](const Foundation::Notification&) {
            if (auto self = weak.lock())
                action(*self);
        }));
    };
    observe(Foundation::Notification::Name("NSApplicationDidBecomeActiveNotification"), [](SyncCoordinator& self) { self.syncIfRequiredOnBecomingActive(); });
    observe(CloudKit::NotificationNames::CKAccountChanged(), [](SyncCoordinator& self) { self.sync(); });
    observe(Shared::AuthenticationStore::authenticationStoreDidUpdateAuthenticationRecords(), [](SyncCoordinator& self) { self.sync(); });
    observe(Shared::LocalChangeCoordinator::localChangeCoordinatorDidMonitorChange(), [](SyncCoordinator& self) { self.sync(); });
    observe(Shared::Importer::importerDidUpdateImportStatus(), [](SyncCoordinator& self) { self.importStatusDidUpdate(); });
    // The credential list is read from the items, which only an open vault can give. It waits until the
    // unlocked window has its first list: reading every item beside that list's would delay it.
    observe(Shared::Cryptor::cryptorDidUpdateVaultKey(), [](SyncCoordinator& self) {
        if (!self.m_recordStore->cryptor()->isUnlocked())
            return;
        self.replaceCredentialStoreWhenNoSyncRuns(credentialStoreDelayAfterUnlock);
    });
}

void SyncCoordinator::replaceCredentialStoreWhenNoSyncRuns(double delay)
{
    std::weak_ptr<SyncCoordinator> weak = sharedSelf(this);
    Basalwork::asyncAfter(*Foundation::DispatchQueue::main(), delay, [weak] {
        auto self = weak.lock();
        if (!self)
            return;
        // A sync and the list both read every changed item: at once they would hold their memory
        // together. The list waits for the sync to end, however it ends (some ends make no list).
        if (self->m_cloudKitRemote->isSyncing())
            self->replaceCredentialStoreWhenNoSyncRuns(credentialStoreRetryInterval);
        else
            self->replaceCredentialStoreIfUnlocked();
    });
}

void SyncCoordinator::replaceCredentialStoreIfUnlocked()
{
    if (m_recordStore->cryptor()->isUnlocked())
        m_recordStore->updateCredentialStore();
}

bool SyncCoordinator::shouldSyncNow() const
{
    using Syncwright::SyncStatus;
    auto status = syncStatus();
    auto elapsedSince = [](const Foundation::Date& date) { return Foundation::Date::now().timeIntervalSince(date); };
    if (const auto* upToDate = status.as<SyncStatus::UpToDate>())
        return elapsedSince(upToDate->date) > activationSyncInterval;
    if (const auto* idle = status.as<SyncStatus::Idle>())
        return !idle->lastSuccessfulSyncDate || elapsedSince(*idle->lastSuccessfulSyncDate) > activationSyncInterval;
    if (const auto* failed = status.as<SyncStatus::Failed>())
        return !failed->lastSuccessfulSyncDate || elapsedSince(*failed->lastSuccessfulSyncDate) > failedSyncRetryInterval;
    return false;
}

void SyncCoordinator::syncIfRequiredOnBecomingActive()
{
    if (!m_hasBecomeActiveAtLeastOnce) {
        m_hasBecomeActiveAtLeastOnce = true;
        sync();
        return;
    }
    if (shouldSyncNow())
        sync();
}

void SyncCoordinator::importStatusDidUpdate()
{
    if (m_importer->status().is<Shared::Importer::Status::Completed>())
        sync();
}

// --- Notifications -------------------------------------------------------------------------------------

void SyncCoordinator::postOnMainQueue(const Foundation::Notification::Name& name)
{
    Foundation::DispatchQueue::main()->async([self = sharedSelf(this), name] { self->m_notificationCenter->post(name, self); });
}

void SyncCoordinator::postSyncStatusDidUpdate()
{
    postOnMainQueue(syncCoordinatorDidUpdateSyncStatus());
}

void SyncCoordinator::postMigrationDidUpdate()
{
    postOnMainQueue(Shared::syncCoordinatorDidUpdateMigration());
}

void SyncCoordinator::postOnboardingDidUpdate()
{
    postOnMainQueue(Shared::syncCoordinatorDidUpdateOnboarding());
}

void SyncCoordinator::postMasterPasswordsOrVaultsDidUpdate()
{
    postOnMainQueue(Shared::syncCoordinatorDidUpdateMasterPasswordsOrVaults());
}

void SyncCoordinator::postUserDidResetAccountRemotely()
{
    postOnMainQueue(Shared::syncCoordinatorUserDidResetAccountRemotelyNotification());
}

// --- Status ---------------------------------------------------------------------------------------------

void SyncCoordinator::syncStatusDidUpdate()
{
    using Syncwright::SyncStatus;
    postSyncStatusDidUpdate();
    bool resetWasAnnounced = false;
    auto status = [&] {
        std::lock_guard lock(m_mutex);
        if (!m_syncStatus.is<SyncStatus::Syncing>()) {
            resetWasAnnounced = m_didPostResetDuringSync;
            m_didPostResetDuringSync = false;
        }
        return m_syncStatus;
    }();
    bool isSyncing = status.is<SyncStatus::Syncing>();
    // The application's background time belongs to the main thread; the queue keeps the statuses' order.
    Foundation::DispatchQueue::main()->async([self = sharedSelf(this), isSyncing] { self->updateBackgroundSyncTask(isSyncing); });
    if (isSyncing)
        return;
    deleteCKRecordAssetTempDirectory();
    if (const auto* failed = status.as<SyncStatus::Failed>()) {
        auto error = failed->failure.underlyingError();
        if (error && Metricove::shouldTrackInAnalytics(*error))
            track(*error, "syncStatusDidUpdate()");
        if (failed->failure.isRecordsResetInICloud() && !resetWasAnnounced)
            postUserDidResetAccountRemotely();
    }
    if (status.is<SyncStatus::UpToDate>() || status.is<SyncStatus::Idle>() || status.is<SyncStatus::Failed>()) {
        replaceCredentialStoreIfUnlocked();
        m_recordStore->didSynchronize();
    }
}

void SyncCoordinator::updateBackgroundSyncTask(bool isSyncing)
{
    if (!isSyncing) {
        if (m_backgroundSyncTask)
            m_application->endBackgroundTask(*m_backgroundSyncTask);
        m_backgroundSyncTask.reset();
        return;
    }
    if (m_backgroundSyncTask)
        return;
    // The handler runs on the main queue, so it learns its task only after it is stored here.
    auto task = std::make_shared<UIKit::UIBackgroundTaskIdentifier>(UIKit::UIBackgroundTaskIdentifier::invalid());
    std::weak_ptr<SyncCoordinator> weak = sharedSelf(this);
    *task = m_application->beginBackgroundTask(Foundation::String("SyncCoordinator.backgroundSyncTask"), [weak, task] {
        if (auto self = weak.lock())
            self->backgroundSyncTaskDidExpire(*task);
    });
    if (*task != UIKit::UIBackgroundTaskIdentifier::invalid())
        m_backgroundSyncTask = *task;
}

void SyncCoordinator::backgroundSyncTaskDidExpire(UIKit::UIBackgroundTaskIdentifier task)
{
    if (m_backgroundSyncTask != task)
        return;
    m_cloudKitRemote->cancel();
    // Ended here, not when the cancelled sync reports: that report may come too late, or never.
    m_application->endBackgroundTask(task);
    m_backgroundSyncTask.reset();
}

void SyncCoordinator::track(const Foundation::Error& error, const char* context) const
{
    if (m_analyticsStore)
        m_analyticsStore->track(Metricove::AnalyticsEvent::error(error, context));
}

// --- Starting a sync ----------------------------------------------------------------------------------

void SyncCoordinator::associateCurrentRecordsWithCKAccountIfNeeded()
{
    if (m_userDefaults->string(ckAccountIDAssociatedWithCurrentRecordsKey))
        return;
    if (auto account = m_cloudKitRemote->ckAccountIdentifier())
        m_userDefaults->set(Foundation::PropertyListValue(*account), ckAccountIDAssociatedWithCurrentRecordsKey);
}

void SyncCoordinator::sync(std::optional<SyncResultHandler> resultHandler)
{
    associateCurrentRecordsWithCKAccountIfNeeded();
    if (shouldForceRefetch())
        forceRefetch();
    std::weak_ptr<SyncCoordinator> weak = sharedSelf(this);
    m_cloudKitRemote->sync(Foundation::DispatchQueue::global(Foundation::DispatchQoS::QoSClass::default_),
                           [weak, resultHandler](const Foundation::Result<Syncwright::SyncResult>& result) {
                               if (auto self = weak.lock())
                                   self->syncDidFinish(result, resultHandler);
                               else if (resultHandler)
                                   resultHandler->invokeAsynchronously(result);
                           });
}

void SyncCoordinator::syncDidFinish(const Foundation::Result<Syncwright::SyncResult>& result, const std::optional<SyncResultHandler>& resultHandler)
{
    if (result.isSuccess() && *result.successValue() == Syncwright::SyncResult::synced && m_localChangeCoordinator)
        m_localChangeCoordinator->localChangesDidSynchronize();
    if (resultHandler)
        resultHandler->invokeAsynchronously(result);
}

// --- Refetching and resetting -------------------------------------------------------------------------

bool SyncCoordinator::shouldForceRefetch() const
{
    auto text = m_userDefaults->string(mostRecentlyForceRefetchedAppVersionKey);
    if (!text)
        return true;
    Basalwork::SemanticVersion version = Basalwork::SemanticVersion::zero();
    try {
        version = Basalwork::SemanticVersion::parse(*text);
    } catch (const Foundation::Error&) {
    }
    return version < refetchVersion;
}

void SyncCoordinator::deleteAllChangeTokens()
{
    auto& context = *m_recordStore->managedObjectContext();
    performInContext(context, [&] {
        for (const auto& token : context.fetch(Syncwright::CloudKitChangeToken::all()))
            context.delete_(token);
        context.save();
    });
}

void SyncCoordinator::forceRefetch()
{
    try {
        m_cacheStore->deleteAllItems();
        deleteAllChangeTokens();
        auto version = Basalwork::SemanticVersion::parseOptional(Basalwork::version(*Foundation::Bundle::main())).value_or(Basalwork::SemanticVersion::zero());
        m_userDefaults->set(Foundation::PropertyListValue(version.string()), mostRecentlyForceRefetchedAppVersionKey);
    } catch (const Foundation::Error& error) {
        track(error, "forceRefetch()");
    }
}

void SyncCoordinator::resetCKAccountAssociation()
{
    m_userDefaults->removeObject(ckAccountIDAssociatedWithCurrentRecordsKey);
    m_cloudKitRemote->reset();
    m_cacheStore->deleteAllItems();
    deleteAllChangeTokens();
}

void SyncCoordinator::deleteCKRecordAssetTempDirectory()
{
    try {
        m_attachmentDataStore->removeTemporaryFolder(ckRecordAssetsFolderName);
    } catch (const Foundation::Error& error) {
        log().error("Failed %@ with error: %@", std::string("deleteCKRecordAssetTempDirectory()"), error.description());
    }
}

// --- The remote's delegate ----------------------------------------------------------------------------

void SyncCoordinator::cloudKitRemoteDidUpdate(const Syncwright::SyncStatus& syncStatus)
{
    {
        std::lock_guard lock(m_mutex);
        m_syncStatus = syncStatus;
    }
    syncStatusDidUpdate();
}

bool SyncCoordinator::needsSetup(const Foundation::String& itemID)
{
    return m_cacheStore->itemDoesNotExist(itemID);
}

void SyncCoordinator::didCompleteSetup(const Foundation::String& itemID)
{
    m_cacheStore->save(true, itemID);
}

void SyncCoordinator::didCreateCustomRecordZone()
{
    m_cacheStore->save(true, didCreateCustomRecordZoneItemID);
}

std::vector<CloudKit::CKRecordID> SyncCoordinator::locallyDeletedCKRecordIDs(std::int64_t resultLimit)
{
    auto& context = *m_recordStore->managedObjectContext();
    return performInContext(context, [&] {
        std::vector<CloudKit::CKRecordID> ids;
        for (const auto& type : Shared::RecordStore::syncableTypes()) {
            auto room = resultLimit - static_cast<std::int64_t>(ids.size());
            if (room <= 0)
                continue;
            for (const auto& object : Syncwright::SyncableType::fetch(type.locallyDeleted(room), context)) {
                if (auto id = object->ckRecordID())
                    ids.push_back(*id);
            }
        }
        return ids;
    });
}

std::vector<std::shared_ptr<CloudKit::CKRecord>> SyncCoordinator::locallyModifiedCKRecords(std::int64_t resultLimit)
{
    auto& context = *m_recordStore->managedObjectContext();
    const auto& zoneID = m_cloudKitRemote->customRecordZoneID();
    auto records = performInContext(context, [&] {
        std::vector<std::shared_ptr<CloudKit::CKRecord>> records;
        for (const auto& type : Shared::RecordStore::syncableTypes()) {
            auto room = resultLimit - static_cast<std::int64_t>(records.size());
            if (room <= 0)
                continue;
            for (const auto& object : Syncwright::SyncableType::fetch(type.locallyModified(room), context))
                records.push_back(object->ckRecordWithLocalModifications(zoneID));
        }
        return records;
    });
    for (const auto& record : records) {
        if (record->recordType() != Shared::AttachmentObject::entityName())
            continue;
        // Nothing only for an attachment without data; a store that cannot be read fails the push
        // rather than tell the account that the file is gone.
        auto file = m_attachmentDataStore->encryptedFileURL(record->recordID().recordName(), ckRecordAssetsFolderName);
        record->setObject(file ? std::optional<CloudKit::CKRecordValue>(Foundation::make<CloudKit::CKAsset>(*file)) : std::nullopt,
                          Shared::Attachment::ckAssetKey);
    }
    return records;
}

void SyncCoordinator::process(const std::vector<Syncwright::PushedModification>& pushedModifications)
{
    if (pushedModifications.empty())
        return;
    auto& context = *m_recordStore->managedObjectContext();
    auto types = Shared::RecordStore::syncableTypes();
    performInContext(context, [&] {
        for (const auto& pushed : pushedModifications) {
            const auto& recordType = pushed.ckRecord()->recordType();
            if (const auto* type = typeNamed(types, recordType))
                type->process(pushed, context);
            else
                log().debug("%@ encountered unknown CKRecord type: %@", std::string("process(pushedModifications:)"), recordType);
        }
        context.save();
    });
}

std::optional<Foundation::String> SyncCoordinator::ckAccountIDAssociatedWithCurrentRecords()
{
    return m_userDefaults->string(ckAccountIDAssociatedWithCurrentRecordsKey);
}

void SyncCoordinator::didDeleteRecordZone(const CloudKit::CKRecordZoneID& zoneID)
{
    if (!(zoneID == m_cloudKitRemote->customRecordZoneID()))
        return;
    {
        std::lock_guard lock(m_mutex);
        m_didPostResetDuringSync = true;
    }
    postUserDidResetAccountRemotely();
}

void SyncCoordinator::processRemotelyDeleted(const std::vector<CloudKit::CKRecordID>& deletedIDs)
{
    if (deletedIDs.empty())
        return;
    auto& context = *m_recordStore->managedObjectContext();
    auto types = Shared::RecordStore::syncableTypes();
    auto type = [&](const Foundation::String& entityName) { return *typeNamed(types, entityName); };
    // An item or attachment changed here since stays, to go out anew: a deletion never takes an edit
    // with it.
    auto ckRecordIDs = performInContext(context, [&] {
        auto ids = Syncwright::SyncableType::unchangedHere({type(Shared::EntryObject::entityName()), type(Shared::AttachmentObject::entityName())},
                                                           deletedIDs, context);
        context.save();
        return ids;
    });
    if (ckRecordIDs.empty())
        return;
    auto names = recordNames(ckRecordIDs);
    bool masterPasswordsOrVaultsChanged = performInContext(context, [&] {
        bool changed = context.count(type(Shared::MasterPassword::entityName()).with(ckRecordIDs)) > 0
            || context.count(type(Shared::Vault::entityName()).with(ckRecordIDs)) > 0;
        for (const auto& entityName : {Shared::Migrations::entityName(), Shared::Onboarding::entityName(), Shared::MasterPassword::entityName(),
                                       Shared::Vault::entityName()})
            Basalwork::delete_(context, type(entityName).with(ckRecordIDs));
        m_recordStore->didDeleteRemotely(names);
        Basalwork::delete_(context, type(Shared::EntryObject::entityName()).with(ckRecordIDs));
        Basalwork::delete_(context, type(Shared::AttachmentObject::entityName()).with(ckRecordIDs));
        m_attachmentDataStore->deleteData(names);
        context.save();
        return changed;
    });
    if (masterPasswordsOrVaultsChanged)
        postMasterPasswordsOrVaultsDidUpdate();
}

Foundation::ErrorPtr SyncCoordinator::fetchedRecordsNotTakenIn()
{
    return m_recordStore->fetchedRecordsNotOpened();
}

void SyncCoordinator::processRecordsOfWholeZone(const std::set<CloudKit::CKRecordID>& ckRecordIDs)
{
    auto& context = *m_recordStore->managedObjectContext();
    auto absent = performInContext(context, [&] {
        auto ids = Syncwright::SyncableType::absentFromZone(Shared::RecordStore::syncableTypes(), ckRecordIDs, context);
        context.save();
        return ids;
    });
    processRemotelyDeleted(absent);
}

void SyncCoordinator::processRemotelyModified(const std::vector<std::shared_ptr<CloudKit::CKRecord>>& ckRecords)
{
    if (ckRecords.empty())
        return;
    auto& context = *m_recordStore->managedObjectContext();
    auto types = Shared::RecordStore::syncableTypes();
    bool migrationsChanged = false;
    bool onboardingChanged = false;
    bool masterPasswordsOrVaultsChanged = false;
    std::vector<Foundation::String> changedNames;
    performInContext(context, [&] {
        // Consecutive records of a type go together, so that their objects are found in one fetch.
        auto unknown = Syncwright::SyncableType::processRemotelyModified(types, ckRecords, context);
        for (const auto& record : unknown)
            log().debug("%@ encountered unknown CKRecord type: %@", std::string("processRemotelyModified(ckRecords:)"), record->recordType());
        for (const auto& record : ckRecords) {
            const auto& recordType = record->recordType();
            if (!typeNamed(types, recordType))
                continue;
            const auto& name = record->recordID().recordName();
            migrationsChanged = migrationsChanged || recordType == Shared::Migrations::entityName();
            onboardingChanged = onboardingChanged || recordType == Shared::Onboarding::entityName();
            masterPasswordsOrVaultsChanged =
                masterPasswordsOrVaultsChanged || recordType == Shared::MasterPassword::entityName() || recordType == Shared::Vault::entityName();
            bool isAttachment = recordType == Shared::AttachmentObject::entityName();
            if ((isAttachment || recordType == Shared::EntryObject::entityName())
                && std::find(changedNames.begin(), changedNames.end(), name) == changedNames.end())
                changedNames.push_back(name);
            if (!isAttachment)
                continue;
            auto value = record->object(Shared::Attachment::ckAssetKey);
            auto asset = value ? value->as<std::shared_ptr<CloudKit::CKAsset>>() : std::nullopt;
            if (asset && *asset && (*asset)->fileURL())
                m_attachmentDataStore->storeEncryptedFile(*(*asset)->fileURL(), name);
        }
        // The items merge before the round is saved, so that each is written once.
        if (!changedNames.empty())
            m_recordStore->didModifyRemotely(changedNames);
        context.save();
    });
    if (migrationsChanged)
        postMigrationDidUpdate();
    if (onboardingChanged)
        postOnboardingDidUpdate();
    if (masterPasswordsOrVaultsChanged)
        postMasterPasswordsOrVaultsDidUpdate();
}

std::shared_ptr<CloudKit::CKServerChangeToken> SyncCoordinator::changeToken(Syncwright::CKServerChangeToken::Key key)
{
    auto& context = *m_recordStore->managedObjectContext();
    return performInContext(context, [&]() -> std::shared_ptr<CloudKit::CKServerChangeToken> {
        auto tokens = context.fetch(Syncwright::CloudKitChangeToken::with(key));
        if (tokens.empty())
            return nullptr;
        if (tokens.size() == 1)
            return tokens.front()->token();
        // Two writers raced: neither token can be trusted, so the next fetch starts over.
        for (const auto& token : tokens)
            context.delete_(token);
        context.save();
        return nullptr;
    });
}

void SyncCoordinator::setChangeToken(const std::shared_ptr<CloudKit::CKServerChangeToken>& token, Syncwright::CKServerChangeToken::Key key)
{
    auto& context = *m_recordStore->managedObjectContext();
    performInContext(context, [&] {
        Syncwright::CloudKitChangeToken::fetchFirstOrInsertNew(key, context)->setToken(token);
        context.save();
    });
}

} // namespace Corvendale
