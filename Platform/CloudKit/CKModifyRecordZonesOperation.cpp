#include "Platform/CloudKit/CKModifyRecordZonesOperation.hpp"

#include "Platform/CloudKit/DatabaseFolder.hpp"
#include "Platform/CloudKit/ItemResults.hpp"

namespace CloudKit {

CKModifyRecordZonesOperation::CKModifyRecordZonesOperation(std::optional<std::vector<std::shared_ptr<CKRecordZone>>> recordZonesToSave,
                                                           std::optional<std::vector<CKRecordZone::ID>> recordZoneIDsToDelete)
    : m_recordZonesToSave(recordZonesToSave.value_or(std::vector<std::shared_ptr<CKRecordZone>> {}))
    , m_recordZoneIDsToDelete(recordZoneIDsToDelete.value_or(std::vector<CKRecordZone::ID> {}))
{
}

void CKModifyRecordZonesOperation::run(DatabaseFolder& folder, const std::optional<CKSimulation::Failure>& failure)
{
    throwIfOperationLevel(failure);
    std::vector<CKRecordZone::ID> zonesToSave;
    for (const auto& zone : recordZonesToSave())
        zonesToSave.push_back(zone->zoneID());
    auto outcome = folder.modifyZones(zonesToSave, recordZoneIDsToDelete(), zoneLevel(failure));

    CKError::PartialErrors failures;
    ItemResults::report(outcome.saves, m_perRecordZoneSaveBlock.get(), failures);
    ItemResults::report(outcome.deletes, m_perRecordZoneDeleteBlock.get(), failures);
    if (auto resultBlock = m_modifyRecordZonesResultBlock.get())
        resultBlock(ItemResults::overall(std::move(failures)));
}

void CKModifyRecordZonesOperation::finish(const Foundation::ErrorPtr& error)
{
    if (auto resultBlock = m_modifyRecordZonesResultBlock.get())
        resultBlock(Foundation::Result<void>::failure(error));
}

} // namespace CloudKit
