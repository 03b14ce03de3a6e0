#pragma once

#include "Platform/CloudKit/CKDatabaseOperation.hpp"
#include "Platform/CloudKit/CKRecord.hpp"
#include "Platform/CloudKit/Locked.hpp"
#include "Platform/Foundation/Result.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace CloudKit {

// Saves and deletes records in one request of at most 400 items. Each item's outcome goes to its
// per-record block, then the result block hears success, or a partial failure naming the items that
// failed. In an atomic request (the default) the items of a custom zone are saved together or not at
// all; the others of a zone where one failed end with batchRequestFailed.
class CKModifyRecordsOperation : public CKDatabaseOperation {
public:
    enum class RecordSavePolicy : std::int64_t {
        // The record's change tag must match the server's copy, else serverRecordChanged.
        ifServerRecordUnchanged = 0,
        // Only the keys changed on the record are written, over whatever the server has.
        changedKeys = 1,
        // The record's fields replace the server's.
        allKeys = 2,
    };

    using PerRecordSaveBlock = std::function<void(const CKRecord::ID&, const Foundation::Result<std::shared_ptr<CKRecord>>&)>;
    using PerRecordDeleteBlock = std::function<void(const CKRecord::ID&, const Foundation::Result<void>&)>;
    using ModifyRecordsResultBlock = std::function<void(const Foundation::Result<void>&)>;

    std::vector<std::shared_ptr<CKRecord>> recordsToSave() const { return m_recordsToSave.get(); }
    void setRecordsToSave(std::vector<std::shared_ptr<CKRecord>> records) { m_recordsToSave.set(std::move(records)); }
    std::vector<CKRecord::ID> recordIDsToDelete() const { return m_recordIDsToDelete.get(); }
    void setRecordIDsToDelete(std::vector<CKRecord::ID> recordIDs) { m_recordIDsToDelete.set(std::move(recordIDs)); }
    RecordSavePolicy savePolicy() const { return m_savePolicy.get(); }
    void setSavePolicy(RecordSavePolicy policy) { m_savePolicy.set(policy); }
    bool isAtomic() const { return m_isAtomic.get(); }
    void setIsAtomic(bool isAtomic) { m_isAtomic.set(isAtomic); }

    void setPerRecordSaveBlock(PerRecordSaveBlock block) { m_perRecordSaveBlock.set(std::move(block)); }
    void setPerRecordDeleteBlock(PerRecordDeleteBlock block) { m_perRecordDeleteBlock.set(std::move(block)); }
    void setModifyRecordsResultBlock(ModifyRecordsResultBlock block) { m_modifyRecordsResultBlock.set(std::move(block)); }

protected:
    friend Foundation::Construct;
    friend class LongLivedJournal;
    CKModifyRecordsOperation() = default;
    CKModifyRecordsOperation(std::optional<std::vector<std::shared_ptr<CKRecord>>> recordsToSave,
                             std::optional<std::vector<CKRecord::ID>> recordIDsToDelete);

    void run(DatabaseFolder& folder, const std::optional<CKSimulation::Failure>& failure) override;
    void finish(const Foundation::ErrorPtr& error) override;
    CKSimulation::Operation simulatedOperation() const override { return CKSimulation::Operation::modifyRecords; }

private:
    Locked<std::vector<std::shared_ptr<CKRecord>>> m_recordsToSave;
    Locked<std::vector<CKRecord::ID>> m_recordIDsToDelete;
    Locked<RecordSavePolicy> m_savePolicy {RecordSavePolicy::ifServerRecordUnchanged};
    Locked<bool> m_isAtomic {true};
    Locked<PerRecordSaveBlock> m_perRecordSaveBlock;
    Locked<PerRecordDeleteBlock> m_perRecordDeleteBlock;
    Locked<ModifyRecordsResultBlock> m_modifyRecordsResultBlock;
};

} // namespace CloudKit
