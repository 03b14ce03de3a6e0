#include "Platform/CloudKit/CKFetchRecordZonesOperation.hpp"

#include "Platform/CloudKit/DatabaseFolder.hpp"
#include "Platform/CloudKit/ItemResults.hpp"

namespace CloudKit {

CKFetchRecordZonesOperation::CKFetchRecordZonesOperation(std::vector<CKRecordZone::ID> recordZoneIDs)
    : m_recordZoneIDs(std::move(recordZoneIDs))
{
}

std::shared_ptr<CKFetchRecordZonesOperation> CKFetchRecordZonesOperation::fetchAllRecordZonesOperation()
{
    return Foundation::make<CKFetchRecordZonesOperation>();
}

std::optional<std::vector<CKRecordZone::ID>> CKFetchRecordZonesOperation::recordZoneIDs() const
{
    std::lock_guard lock(m_blockMutex);
    return m_recordZoneIDs;
}

void CKFetchRecordZonesOperation::setRecordZoneIDs(std::optional<std::vector<CKRecordZone::ID>> zoneIDs)
{
    std::lock_guard lock(m_blockMutex);
    m_recordZoneIDs = std::move(zoneIDs);
}

void CKFetchRecordZonesOperation::setPerRecordZoneResultBlock(PerRecordZoneResultBlock block)
{
    std::lock_guard lock(m_blockMutex);
    m_perRecordZoneResultBlock = std::move(block);
}

void CKFetchRecordZonesOperation::setFetchRecordZonesResultBlock(FetchRecordZonesResultBlock block)
{
    std::lock_guard lock(m_blockMutex);
    m_fetchRecordZonesResultBlock = std::move(block);
}

void CKFetchRecordZonesOperation::run(DatabaseFolder& folder, const std::optional<CKSimulation::Failure>& failure)
{
    throwIfOperationLevel(failure);
    auto results = folder.fetchZones(recordZoneIDs(), zoneLevel(failure));
    PerRecordZoneResultBlock zoneBlock;
    FetchRecordZonesResultBlock resultBlock;
    {
        std::lock_guard lock(m_blockMutex);
        zoneBlock = m_perRecordZoneResultBlock;
        resultBlock = m_fetchRecordZonesResultBlock;
    }
    CKError::PartialErrors failures;
    ItemResults::report(results, zoneBlock, failures);
    if (resultBlock)
        resultBlock(ItemResults::overall(std::move(failures)));
}

void CKFetchRecordZonesOperation::finish(const Foundation::ErrorPtr& error)
{
    FetchRecordZonesResultBlock resultBlock;
    {
        std::lock_guard lock(m_blockMutex);
        resultBlock = m_fetchRecordZonesResultBlock;
    }
    if (resultBlock)
        resultBlock(Foundation::Result<void>::failure(error));
}

} // namespace CloudKit
