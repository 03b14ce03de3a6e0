#include "Shared/Syncwright/FetchOperation.hpp"

#include "Shared/Syncwright/CloudKitRemote.hpp"
#include "Shared/Syncwright/CloudKitRemoteError.hpp"
#include "Shared/Syncwright/SyncOperation.hpp"

#include "Platform/CloudKit/CKError.hpp"
#include "Platform/CloudKit/CKFetchDatabaseChangesOperation.hpp"
#include "Platform/CloudKit/CKFetchRecordZoneChangesOperation.hpp"

namespace Syncwright {

namespace {

constexpr auto zoneKey = CKServerChangeToken::Key::customRecordZone;
constexpr auto databaseKey = CKServerChangeToken::Key::privateDatabase;

// Batches that could not be read were skipped; everything else was applied.
void noteUnreadableBatches(SyncOperation& sync, const Foundation::ErrorPtr& error)
{
    const auto* partial = dynamic_cast<const CloudKit::CKError*>(error.get());
    if (!partial || partial->errorCode() != CloudKit::CKError::Code::partialFailure)
        error->raise();
    for (const auto& [itemID, itemError] : partial->partialErrorsByItemID()) {
        if (std::holds_alternative<Foundation::String>(itemID))
            sync.note(itemError);
    }
}

} // namespace

void FetchOperation::run()
{
    fetch();
    if (auto notTakenIn = m_sync.delegate().fetchedRecordsNotTakenIn())
        m_sync.note(notTakenIn);
}

void FetchOperation::fetch()
{
    m_sync.report(SyncStatus::Activity::fetching);
    auto database = fetchDatabaseChanges();
    auto token = m_sync.delegate().changeToken(zoneKey);
    if (token && !database.customZoneChanged) {
        m_sync.delegate().setChangeToken(database.token, databaseKey);
        return;
    }
    auto expired = Foundation::catchError([&] { fetchZoneChanges(token, true); });
    if (expired) {
        if (!token || m_sync.isCancelled() || CloudKit::ckErrorCode(*expired) != CloudKit::CKError::Code::changeTokenExpired)
            expired->raise();
        // A token of another container or account, or of a former life of the zone: whatever the
        // records here are, the zone as it is now is fetched whole.
        m_sync.note(expired);
        m_sync.delegate().setChangeToken(nullptr, zoneKey);
        // The records here may be of another container or life of the zone: none is taken for deleted.
        fetchZoneChanges(nullptr, false);
    }
    // Kept only now: had the zone's fetch failed, the next sync must not take it for unchanged.
    m_sync.delegate().setChangeToken(database.token, databaseKey);
}

FetchOperation::DatabaseChanges FetchOperation::fetchDatabaseChanges()
{
    auto token = m_sync.delegate().changeToken(databaseKey);
    if (!token)
        return fetchDatabaseChanges(nullptr);
    DatabaseChanges result;
    auto expired = Foundation::catchError([&] { result = fetchDatabaseChanges(token); });
    if (!expired)
        return result;
    if (m_sync.isCancelled() || CloudKit::ckErrorCode(*expired) != CloudKit::CKError::Code::changeTokenExpired)
        expired->raise();
    m_sync.note(expired);
    m_sync.delegate().setChangeToken(nullptr, databaseKey);
    return fetchDatabaseChanges(nullptr);
}

FetchOperation::DatabaseChanges FetchOperation::fetchDatabaseChanges(const std::shared_ptr<CloudKit::CKServerChangeToken>& token)
{
    using Operation = CloudKit::CKFetchDatabaseChangesOperation;
    auto operation = Foundation::make<Operation>(token);
    DatabaseChanges changes;
    bool customZoneDeleted = false;
    Foundation::ErrorPtr failure;
    std::vector<CloudKit::CKRecordZoneID> deleted;
    operation->setRecordZoneWithIDWasDeletedBlock([&](const CloudKit::CKRecordZoneID& zoneID) { deleted.push_back(zoneID); });
    operation->setRecordZoneWithIDChangedBlock([&](const CloudKit::CKRecordZoneID& zoneID) {
        changes.customZoneChanged = changes.customZoneChanged || zoneID == m_sync.zoneID();
    });
    operation->setChangeTokenUpdatedBlock([&](const std::shared_ptr<CloudKit::CKServerChangeToken>& updated) { changes.token = updated; });
    operation->setFetchDatabaseChangesResultBlock([&](const Foundation::Result<Operation::FetchDatabaseChangesResult>& result) {
        if (result.isSuccess())
            changes.token = result.successValue()->serverChangeToken;
        else
            failure = result.failureError();
    });
    m_sync.perform(operation);
    if (failure)
        noteUnreadableBatches(m_sync, failure);
    for (const auto& zoneID : deleted) {
        m_sync.delegate().didDeleteRecordZone(zoneID);
        customZoneDeleted = customZoneDeleted || zoneID == m_sync.zoneID();
    }
    if (customZoneDeleted)
        throw CloudKitRemoteError(CloudKitRemoteError::CustomRecordZoneDeleted {});
    return changes;
}

void FetchOperation::fetchZoneChanges(const std::shared_ptr<CloudKit::CKServerChangeToken>& token, bool reconcileWhole)
{
    using Operation = CloudKit::CKFetchRecordZoneChangesOperation;
    const auto& zoneID = m_sync.zoneID();
    auto operation = Foundation::make<Operation>(std::vector {zoneID},
                                                 std::map<CloudKit::CKRecordZoneID, Operation::ZoneConfiguration> {
                                                     {zoneID, {token, CloudKitRemote::resultLimit, std::nullopt}}});
    operation->setFetchAllChanges(true);

    // The blocks run one after another on the operation's thread.
    std::vector<std::shared_ptr<CloudKit::CKRecord>> changed;
    std::vector<CloudKit::CKRecordID> deleted;
    // A fetch from no token brings every record the zone holds, readable or not.
    std::set<CloudKit::CKRecordID> present;
    Foundation::ErrorPtr delegateError;
    Foundation::ErrorPtr zoneError;
    Foundation::ErrorPtr operationError;
    auto applyRound = [&](const std::shared_ptr<CloudKit::CKServerChangeToken>& roundToken) {
        if (delegateError)
            return;
        delegateError = Foundation::catchError([&] {
            if (!changed.empty())
                m_sync.delegate().processRemotelyModified(changed);
            if (!deleted.empty())
                m_sync.delegate().processRemotelyDeleted(deleted);
            m_sync.delegate().setChangeToken(roundToken, zoneKey);
        });
        changed.clear();
        deleted.clear();
        if (delegateError)
            operation->cancel();
    };
    operation->setRecordWasChangedBlock([&](const CloudKit::CKRecordID& recordID, const Foundation::Result<std::shared_ptr<CloudKit::CKRecord>>& result) {
        present.insert(recordID);
        if (result.isSuccess())
            changed.push_back(*result.successValue());
        else
            m_sync.note(result.failureError());
    });
    operation->setRecordWithIDWasDeletedBlock([&](const CloudKit::CKRecordID& recordID, const CloudKit::CKRecord::RecordType&) {
        deleted.push_back(recordID);
    });
    operation->setRecordZoneChangeTokensUpdatedBlock(
        [&](const CloudKit::CKRecordZoneID&, const std::shared_ptr<CloudKit::CKServerChangeToken>& roundToken, const auto&) {
            applyRound(roundToken);
        });
    operation->setRecordZoneFetchResultBlock([&](const CloudKit::CKRecordZoneID&, const Foundation::Result<Operation::RecordZoneFetchResult>& result) {
        if (result.isSuccess())
            applyRound(result.successValue()->serverChangeToken);
        else
            zoneError = result.failureError();
    });
    operation->setFetchRecordZoneChangesResultBlock([&](const Foundation::Result<void>& result) { operationError = result.failureError(); });
    m_sync.perform(operation);

    if (delegateError)
        delegateError->raise();
    if (zoneError) {
        auto code = CloudKit::ckErrorCode(*zoneError);
        if (code == CloudKit::CKError::Code::userDeletedZone || code == CloudKit::CKError::Code::zoneNotFound)
            m_sync.zoneWasDeleted(*zoneError);
        zoneError->raise();
    }
    if (operationError)
        noteUnreadableBatches(m_sync, operationError);
    // Only a whole, undamaged zone tells what is gone: a record in a batch that cannot be read is not.
    else if (!token && reconcileWhole)
        m_sync.delegate().processRecordsOfWholeZone(present);
}

} // namespace Syncwright
