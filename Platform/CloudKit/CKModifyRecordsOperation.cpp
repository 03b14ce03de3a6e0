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

void CKModifyRecordsOperation::run(DatabaseFolder& folder, const std::optional<CKSimulation::Failure>& failure)
{
    throwIfOperationLevel(failure);
    DatabaseFolder::ModifyRequest request {recordsToSave(), recordIDsToDelete(),
                                           static_cast<DatabaseFolder::SavePolicy>(savePolicy()), isAtomic(),
                                           configuration()->isLongLived() ? std::optional(operationID().utf8()) : std::nullopt};
    auto outcome = folder.modifyRecords(request, zoneLevel(failure));
    if (request.operationID)
        LongLivedJournal::remove(folder, operationID().utf8());

    CKError::PartialErrors failures;
    ItemResults::report(outcome.saves, m_perRecordSaveBlock.get(), failures);
    ItemResults::report(outcome.deletes, m_perRecordDeleteBlock.get(), failures);
    if (auto resultBlock = m_modifyRecordsResultBlock.get())
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
    if (auto resultBlock = m_modifyRecordsResultBlock.get())
        resultBlock(Foundation::Result<void>::failure(error));
}

} // namespace CloudKit
