#include "Shared/Syncwright/PushOperation.hpp"

#include "Shared/Syncwright/CloudKitRemote.hpp"
#include "Shared/Syncwright/CloudKitRemoteError.hpp"
#include "Shared/Syncwright/PushedModification.hpp"
#include "Shared/Syncwright/SyncOperation.hpp"

#include "Platform/CloudKit/CKError.hpp"
#include "Platform/CloudKit/CKModifyRecordsOperation.hpp"

#include <map>

namespace Syncwright {

void PushOperation::run()
{
    m_sync.report(SyncStatus::Activity::pushing);
    while (pushRound())
        m_sync.throwIfCancelled();
}

bool PushOperation::pushRound()
{
    auto& delegate = m_sync.delegate();
    auto deletions = delegate.locallyDeletedCKRecordIDs(CloudKitRemote::resultLimit);
    std::vector<std::shared_ptr<CloudKit::CKRecord>> saves;
    if (auto room = CloudKitRemote::resultLimit - static_cast<std::int64_t>(deletions.size()); room > 0)
        saves = delegate.locallyModifiedCKRecords(room);
    if (deletions.empty() && saves.empty())
        return false;

    // The service refuses a request naming a record twice; the store must repair its records first.
    std::set<CloudKit::CKRecordID> named;
    std::map<CloudKit::CKRecordID, std::shared_ptr<CloudKit::CKRecord>> sent;
    for (const auto& record : saves) {
        if (!named.insert(record->recordID()).second)
            throw CloudKitRemoteError(CloudKitRemoteError::MultipleRecordsUsingTheSameID {record->recordID().recordName()});
        sent.emplace(record->recordID(), record);
    }
    for (const auto& id : deletions) {
        if (!named.insert(id).second)
            throw CloudKitRemoteError(CloudKitRemoteError::MultipleRecordsUsingTheSameID {id.recordName()});
    }

    auto operation = Foundation::make<CloudKit::CKModifyRecordsOperation>(saves, deletions);
    operation->setSavePolicy(CloudKit::CKModifyRecordsOperation::RecordSavePolicy::ifServerRecordUnchanged);
    operation->setIsAtomic(false);

    std::vector<PushedModification> pushed;
    std::vector<CloudKit::CKRecordID> deleted;
    Foundation::ErrorPtr zoneGone;
    Foundation::ErrorPtr operationError;
    bool gotThrough = false;
    auto zoneFailed = [&](const Foundation::ErrorPtr& error) {
        auto code = CloudKit::ckErrorCode(*error);
        if (code != CloudKit::CKError::Code::zoneNotFound && code != CloudKit::CKError::Code::userDeletedZone)
            return false;
        zoneGone = error;
        return true;
    };
    operation->setPerRecordSaveBlock([&](const CloudKit::CKRecordID& id, const Foundation::Result<std::shared_ptr<CloudKit::CKRecord>>& result) {
        auto found = sent.find(id);
        auto client = found != sent.end() ? found->second : nullptr;
        if (!client)
            return;
        if (result.isSuccess()) {
            pushed.push_back(PushedModification::saved(*result.successValue()));
            gotThrough = true;
            return;
        }
        auto error = result.failureError();
        if (zoneFailed(error))
            return;
        const auto* ckError = dynamic_cast<const CloudKit::CKError*>(error.get());
        if (ckError && ckError->errorCode() == CloudKit::CKError::Code::serverRecordChanged && ckError->serverRecord()) {
            // The merge goes out in the next round, with the server's change tag.
            pushed.push_back(PushedModification::conflicted(ckError->serverRecord(), client));
            gotThrough = m_conflicted.insert(id).second || gotThrough;
            return;
        }
        pushed.push_back(PushedModification::failed(client, error));
        m_sync.note(error);
    });
    operation->setPerRecordDeleteBlock([&](const CloudKit::CKRecordID& id, const Foundation::Result<void>& result) {
        auto error = result.failureError();
        if (!error || CloudKit::ckErrorCode(*error) == CloudKit::CKError::Code::unknownItem) {
            deleted.push_back(id);
            gotThrough = true;
        } else if (!zoneFailed(error)) {
            m_sync.note(error);
        }
    });
    operation->setModifyRecordsResultBlock([&](const Foundation::Result<void>& result) { operationError = result.failureError(); });
    m_sync.perform(operation);

    if (zoneGone)
        m_sync.zoneWasDeleted(*zoneGone);
    if (operationError && CloudKit::ckErrorCode(*operationError) != CloudKit::CKError::Code::partialFailure)
        operationError->raise();
    if (!pushed.empty())
        delegate.process(pushed);
    if (!deleted.empty())
        delegate.processRemotelyDeleted(deleted);
    return gotThrough;
}

} // namespace Syncwright
