#include "Platform/CloudKit/CKModifyRecordsOperation.hpp"

#include "Platform/CloudKit/CKDatabase.hpp"
#include "Platform/CloudKit/DatabaseFolder.hpp"
#include "Platform/CloudKit/ItemResults.hpp"
#include "Platform/CloudKit/LongLivedJournal.hpp"

namespace CloudKit {

CKModifyRecordsOperation::CKModifyRecordsOperation(std::optional<std::vector<std::shared_ptr<CKRecord>>> recordsToSave,
                                                   std::optional<std::vector<CKRecord::ID>> recordIDsToDelete)
    : m_recordsToSave(recordsToSave.value_or(std::vector<std::shared_ptr<CKRecord>> {}))
    , m_recordIDsToDelete(recordIDsToDelete.value_or(std::vector<CKRecord::ID> {}))
{
}

std::vector<std::shared_ptr<CKRecord>> CKModifyRecordsOperation::recordsToSave() const
{
    std::lock_guard lock(m_blockMutex);
    return m_recordsToSave;
}

void CKModifyRecordsOperation::setRecordsToSave(std::vector<std::shared_ptr<CKRecord>> records)
{
    std::lock_guard lock(m_blockMutex);
    m_recordsToSave = std::move(records);
}

std::vector<CKRecord::ID> CKModifyRecordsOperation::recordIDsToDelete() const
{
    std::lock_guard lock(m_blockMutex);
    return m_recordIDsToDelete;
}

void CKModifyRecordsOperation::setRecordIDsToDelete(std::vector<CKRecord::ID> recordIDs)
{
    std::lock_guard lock(m_blockMutex);
    m_recordIDsToDelete = std::move(recordIDs);
}

CKModifyRecordsOperation::RecordSavePolicy CKModifyRecordsOperation::savePolicy() const
{
    std::lock_guard lock(m_blockMutex);
    return m_savePolicy;
}

void CKModifyRecordsOperation::setSavePolicy(RecordSavePolicy policy)
{
    std::lock_guard lock(m_blockMutex);
    m_savePolicy = policy;
}

bool CKModifyRecordsOperation::isAtomic() const
{
    std::lock_guard lock(m_blockMutex);
    return m_isAtomic;
}

void CKModifyRecordsOperation::setIsAtomic(bool isAtomic)
{
    std::lock_guard lock(m_blockMutex);
    m_isAtomic = isAtomic;
}

void CKModifyRecordsOperation::setPerRecordSaveBlock(PerRecordSaveBlock block)
{
    std::lock_guard lock(m_blockMutex);
    m_perRecordSaveBlock = std::move(block);
}

void CKModifyRecordsOperation::setPerRecordDeleteBlock(PerRecordDeleteBlock block)
{
    std::lock_guard lock(m_blockMutex);
    m_perRecordDeleteBlock = std::move(block);
}

void CKModifyRecordsOperation::setModifyRecordsResultBlock(ModifyRecordsResultBlock block)
{
    std::lock_guard lock(m_blockMutex);
    m_modifyRecordsResultBlock = std::move(block);
}

void CKModifyRecordsOperation::run(DatabaseFolder& folder, const std::optional<CKSimulation::Failure>& failure)
{
    throwIfOperationLevel(failure);
    DatabaseFolder::ModifyRequest request {recordsToSave(), recordIDsToDelete(),
                                           static_cast<DatabaseFolder::SavePolicy>(savePolicy()), isAtomic(),
                                           configuration()->isLongLived() ? std::optional(operationID().utf8()) : std::nullopt};
    auto outcome = folder.modifyRecords(request, zoneLevel(failure));
    if (request.operationID)
        LongLivedJournal::remove(folder, operationID().utf8());

    PerRecordSaveBlock saveBlock;
    PerRecordDeleteBlock deleteBlock;
    ModifyRecordsResultBlock resultBlock;
    {
        std::lock_guard lock(m_blockMutex);
        saveBlock = m_perRecordSaveBlock;
        deleteBlock = m_perRecordDeleteBlock;
        resultBlock = m_modifyRecordsResultBlock;
    }
    CKError::PartialErrors failures;
    ItemResults::report(outcome.saves, saveBlock, failures);
    ItemResults::report(outcome.deletes, deleteBlock, failures);
    if (resultBlock)
        resultBlock(ItemResults::overall(std::move(failures)));
}

void CKModifyRecordsOperation::finish(const Foundation::ErrorPtr& error)
{
    if (configuration()->isLongLived()) {
        // A long-lived operation that failed as a whole is over too; it is not run again.
        if (auto database = this->database()) {
            try {
                LongLivedJournal::remove(*database->folder(), operationID().utf8());
            } catch (...) {
            }
        }
    }
    ModifyRecordsResultBlock resultBlock;
    {
        std::lock_guard lock(m_blockMutex);
        resultBlock = m_modifyRecordsResultBlock;
    }
    if (resultBlock)
        resultBlock(Foundation::Result<void>::failure(error));
}

} // namespace CloudKit
