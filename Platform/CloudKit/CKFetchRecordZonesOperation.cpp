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

void CKFetchRecordZonesOperation::run(DatabaseFolder& folder, const std::optional<CKSimulation::Failure>& failure)
{
    throwIfOperationLevel(failure);
    auto results = folder.fetchZones(recordZoneIDs(), zoneLevel(failure));
    CKError::PartialErrors failures;
    ItemResults::report(results, m_perRecordZoneResultBlock.get(), failures);
    if (auto resultBlock = m_fetchRecordZonesResultBlock.get())
        resultBlock(ItemResults::overall(std::move(failures)));
}

void CKFetchRecordZonesOperation::finish(const Foundation::ErrorPtr& error)
{
    if (auto resultBlock = m_fetchRecordZonesResultBlock.get())
        resultBlock(Foundation::Result<void>::failure(error));
}

} // namespace CloudKit
