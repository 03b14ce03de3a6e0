#include "Shared/Syncwright/SyncOperation.hpp"

#include "Shared/Syncwright/CloudKitRemote.hpp"
#include "Shared/Syncwright/CloudKitRemoteError.hpp"
#include "Shared/Syncwright/FetchOperation.hpp"
#include "Shared/Syncwright/PushOperation.hpp"

#include "Basalwork/Base/GeneralError.hpp"

#include "Platform/CloudKit/CKContainer.hpp"
#include "Platform/CloudKit/CKDatabase.hpp"
#include "Platform/CloudKit/CKError.hpp"
#include "Platform/CloudKit/CKModifyRecordZonesOperation.hpp"
#include "Platform/CloudKit/CKRecordZone.hpp"
#include "Platform/Foundation/DispatchSemaphore.hpp"

namespace Syncwright {

SyncOperation::SyncOperation(std::shared_ptr<CloudKit::CKContainer> container, CloudKit::CKRecordZoneID zoneID,
                             std::shared_ptr<SyncOperationDelegate> delegate, StatusHandler statusHandler)
    : m_container(std::move(container))
    , m_zoneID(std::move(zoneID))
    , m_delegate(std::move(delegate))
    , m_statusHandler(std::move(statusHandler))
{
}

SyncOperation::Outcome SyncOperation::run()
{
    Outcome outcome;
    try {
        report(SyncStatus::Activity::fetching);
        auto account = currentAccountID(*m_container);
        if (!account) {
            outcome.kind = Outcome::Kind::disabled;
            return outcome;
        }
        auto ofRecords = m_delegate->ckAccountIDAssociatedWithCurrentRecords();
        if (ofRecords && *ofRecords != *account)
            throw CloudKitRemoteError(CloudKitRemoteError::ICloudAccountChanged {*ofRecords, *account});
        setUp();
        // Fetching first merges what other devices changed before this device's changes go out on top.
        FetchOperation(*this).run();
        outcome.didCompleteFetch = true;
        PushOperation(*this).run();
        throwIfCancelled();
    } catch (...) {
        auto error = Foundation::currentError();
        if (m_cancelled) {
            outcome.kind = Outcome::Kind::cancelled;
            return outcome;
        }
        outcome.kind = Outcome::Kind::failed;
        outcome.failure = failure(error);
        return outcome;
    }
    std::lock_guard lock(m_mutex);
    if (!m_noted.empty()) {
        outcome.kind = Outcome::Kind::failed;
        outcome.failure = SyncStatus::Failure::error(m_noted.size() == 1 ? m_noted.front() : Basalwork::GeneralError::failed(m_noted).clone());
    }
    return outcome;
}

void SyncOperation::cancel()
{
    m_cancelled = true;
    std::lock_guard lock(m_mutex);
    if (m_current)
        m_current->cancel();
}

void SyncOperation::perform(const std::shared_ptr<CloudKit::CKDatabaseOperation>& operation)
{
    {
        std::lock_guard lock(m_mutex);
        throwIfCancelled();
        m_current = operation;
    }
    m_container->privateCloudDatabase()->add(operation);
    operation->waitUntilFinished();
    {
        std::lock_guard lock(m_mutex);
        m_current.reset();
    }
    throwIfCancelled();
}

void SyncOperation::throwIfCancelled() const
{
    if (m_cancelled)
        throw CloudKit::CKError(CloudKit::CKError::Code::operationCancelled, "The sync was cancelled");
}

void SyncOperation::note(Foundation::ErrorPtr error)
{
    std::lock_guard lock(m_mutex);
    // The database's fetch and the zone's both name a batch they could not read.
    for (const auto& noted : m_noted) {
        if (noted->domain() == error->domain() && noted->code() == error->code() && noted->description() == error->description())
            return;
    }
    m_noted.push_back(std::move(error));
}

void SyncOperation::zoneWasDeleted(const Foundation::Error& error)
{
    m_delegate->didDeleteRecordZone(m_zoneID);
    if (CloudKit::ckErrorCode(error) == CloudKit::CKError::Code::userDeletedZone)
        throw CloudKitRemoteError(CloudKitRemoteError::CustomRecordZoneDeletedByUser {});
    if (CloudKit::ckErrorCode(error) == CloudKit::CKError::Code::zoneNotFound)
        throw CloudKitRemoteError(CloudKitRemoteError::CustomRecordZoneNotFound {});
    throw CloudKitRemoteError(CloudKitRemoteError::CustomRecordZoneDeleted {});
}

std::optional<Foundation::String> SyncOperation::currentAccountID(const CloudKit::CKContainer& container)
{
    auto done = Foundation::make<Foundation::DispatchSemaphore>(0);
    std::optional<CloudKit::CKRecordID> userRecordID;
    Foundation::ErrorPtr failure;
    container.fetchUserRecordID([&, done](std::optional<CloudKit::CKRecordID> recordID, Foundation::ErrorPtr error) {
        userRecordID = std::move(recordID);
        failure = std::move(error);
        done->signal();
    });
    done->wait();
    if (userRecordID)
        return userRecordID->recordName();
    if (failure && CloudKit::ckErrorCode(*failure) != CloudKit::CKError::Code::notAuthenticated)
        failure->raise();
    return std::nullopt;
}

void SyncOperation::setUp()
{
    if (!m_delegate->needsSetup(CloudKitRemote::customRecordZoneSetupItemID))
        return;
    report(SyncStatus::Activity::settingUp);
    auto operation = Foundation::make<CloudKit::CKModifyRecordZonesOperation>(
        std::vector {Foundation::make<CloudKit::CKRecordZone>(m_zoneID)}, std::nullopt);
    Foundation::ErrorPtr failure;
    operation->setPerRecordZoneSaveBlock([&](const CloudKit::CKRecordZoneID&, const auto& result) {
        if (result.isFailure())
            failure = result.failureError();
    });
    operation->setModifyRecordZonesResultBlock([&](const Foundation::Result<void>& result) {
        if (!failure && result.isFailure())
            failure = result.failureError();
    });
    perform(operation);
    if (failure)
        failure->raise();
    m_delegate->didCreateCustomRecordZone();
}

SyncStatus::Failure SyncOperation::failure(const Foundation::ErrorPtr& error)
{
    if (const auto* remote = dynamic_cast<const CloudKitRemoteError*>(error.get()))
        return SyncStatus::Failure::from(*remote);
    return SyncStatus::Failure::error(error);
}

} // namespace Syncwright
