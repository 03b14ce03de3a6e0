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

std::vector<std::shared_ptr<CKRecordZone>> CKModifyRecordZonesOperation::recordZonesToSave() const
{
    std::lock_guard lock(m_blockMutex);
    return m_recordZonesToSave;
}

void CKModifyRecordZonesOperation::setRecordZonesToSave(std::vector<std::shared_ptr<CKRecordZone>> zones)
{
    std::lock_guard lock(m_blockMutex);
    m_recordZonesToSave = std::move(zones);
}

std::vector<CKRecordZone::ID> CKModifyRecordZonesOperation::recordZoneIDsToDelete() const
{
    std::lock_guard lock(m_blockMutex);
    return m_recordZoneIDsToDelete;
}

void CKModifyRecordZonesOperation::setRecordZoneIDsToDelete(std::vector<CKRecordZone::ID> zoneIDs)
{
    std::lock_guard lock(m_blockMutex);
    m_recordZoneIDsToDelete = std::move(zoneIDs);
}

void CKModifyRecordZonesOperation::setPerRecordZoneSaveBlock(PerRecordZoneSaveBlock block)
{
    std::lock_guard lock(m_blockMutex);
    m_perRecordZoneSaveBlock = std::move(block);
}

void CKModifyRecordZonesOperation::setPerRecordZoneDeleteBlock(PerRecordZoneDeleteBlock block)
{
    std::lock_guard lock(m_blockMutex);
    m_perRecordZoneDeleteBlock = std::move(block);
}

void CKModifyRecordZonesOperation::setModifyRecordZonesResultBlock(ModifyRecordZonesResultBlock block)
{
    std::lock_guard lock(m_blockMutex);
    m_modifyRecordZonesResultBlock = std::move(block);
}

void CKModifyRecordZonesOperation::run(DatabaseFolder& folder, const std::optional<CKSimulation::Failure>& failure)
{
    throwIfOperationLevel(failure);
    std::vector<CKRecordZone::ID> zonesToSave;
    for (const auto& zone : recordZonesToSave())
        zonesToSave.push_back(zone->zoneID());
    auto outcome = folder.modifyZones(zonesToSave, recordZoneIDsToDelete(), zoneLevel(failure));

    PerRecordZoneSaveBlock saveBlock;
    PerRecordZoneDeleteBlock deleteBlock;
    ModifyRecordZonesResultBlock resultBlock;
    {
        std::lock_guard lock(m_blockMutex);
        saveBlock = m_perRecordZoneSaveBlock;
        deleteBlock = m_perRecordZoneDeleteBlock;
        resultBlock = m_modifyRecordZonesResultBlock;
    }
    CKError::PartialErrors failures;
    ItemResults::report(outcome.saves, saveBlock, failures);
    ItemResults::report(outcome.deletes, deleteBlock, failures);
    if (resultBlock)
        resultBlock(ItemResults::overall(std::move(failures)));
}

void CKModifyRecordZonesOperation::finish(const Foundation::ErrorPtr& error)
{
    ModifyRecordZonesResultBlock resultBlock;
    {
        std::lock_guard lock(m_blockMutex);
        resultBlock = m_modifyRecordZonesResultBlock;
    }
    if (resultBlock)
        resultBlock(Foundation::Result<void>::failure(error));
}

} // namespace CloudKit
