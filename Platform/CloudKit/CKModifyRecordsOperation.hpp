#pragma once

#include "Platform/CloudKit/CKDatabaseOperation.hpp"
#include "Platform/CloudKit/CKRecord.hpp"
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

    std::vector<std::shared_ptr<CKRecord>> recordsToSave() const;
    void setRecordsToSave(std::vector<std::shared_ptr<CKRecord>> records);
    std::vector<CKRecord::ID> recordIDsToDelete() const;
    void setRecordIDsToDelete(std::vector<CKRecord::ID> recordIDs);
    RecordSavePolicy savePolicy() const;
    void setSavePolicy(RecordSavePolicy policy);
    bool isAtomic() const;
    void setIsAtomic(bool isAtomic);

    void setPerRecordSaveBlock(PerRecordSaveBlock block);
    void setPerRecordDeleteBlock(PerRecordDeleteBlock block);
    void setModifyRecordsResultBlock(ModifyRecordsResultBlock block);

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
    std::vector<std::shared_ptr<CKRecord>> m_recordsToSave;
    std::vector<CKRecord::ID> m_recordIDsToDelete;
    RecordSavePolicy m_savePolicy = RecordSavePolicy::ifServerRecordUnchanged;
    bool m_isAtomic = true;
    PerRecordSaveBlock m_perRecordSaveBlock;
    PerRecordDeleteBlock m_perRecordDeleteBlock;
    ModifyRecordsResultBlock m_modifyRecordsResultBlock;
};

} // namespace CloudKit
