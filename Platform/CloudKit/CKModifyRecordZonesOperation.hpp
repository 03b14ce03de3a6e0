#pragma once

#include "Platform/CloudKit/CKDatabaseOperation.hpp"
#include "Platform/CloudKit/CKRecordZone.hpp"
#include "Platform/Foundation/Result.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace CloudKit {

// Makes and deletes zones. Saving a zone that exists changes nothing; deleting one removes all of its
// records, and a zone made again under the same name starts empty, with tokens of its former life
// expired.
class CKModifyRecordZonesOperation : public CKDatabaseOperation {
public:
    using PerRecordZoneSaveBlock = std::function<void(const CKRecordZone::ID&, const Foundation::Result<std::shared_ptr<CKRecordZone>>&)>;
    using PerRecordZoneDeleteBlock = std::function<void(const CKRecordZone::ID&, const Foundation::Result<void>&)>;
    using ModifyRecordZonesResultBlock = std::function<void(const Foundation::Result<void>&)>;

    std::vector<std::shared_ptr<CKRecordZone>> recordZonesToSave() const;
    void setRecordZonesToSave(std::vector<std::shared_ptr<CKRecordZone>> zones);
    std::vector<CKRecordZone::ID> recordZoneIDsToDelete() const;
    void setRecordZoneIDsToDelete(std::vector<CKRecordZone::ID> zoneIDs);

    void setPerRecordZoneSaveBlock(PerRecordZoneSaveBlock block);
    void setPerRecordZoneDeleteBlock(PerRecordZoneDeleteBlock block);
    void setModifyRecordZonesResultBlock(ModifyRecordZonesResultBlock block);

protected:
    friend Foundation::Construct;
    CKModifyRecordZonesOperation() = default;
    CKModifyRecordZonesOperation(std::optional<std::vector<std::shared_ptr<CKRecordZone>>> recordZonesToSave,
                                 std::optional<std::vector<CKRecordZone::ID>> recordZoneIDsToDelete);

    void run(DatabaseFolder& folder, const std::optional<CKSimulation::Failure>& failure) override;
    void finish(const Foundation::ErrorPtr& error) override;
    CKSimulation::Operation simulatedOperation() const override { return CKSimulation::Operation::modifyRecordZones; }

private:
    std::vector<std::shared_ptr<CKRecordZone>> m_recordZonesToSave;
    std::vector<CKRecordZone::ID> m_recordZoneIDsToDelete;
    PerRecordZoneSaveBlock m_perRecordZoneSaveBlock;
    PerRecordZoneDeleteBlock m_perRecordZoneDeleteBlock;
    ModifyRecordZonesResultBlock m_modifyRecordZonesResultBlock;
};

} // namespace CloudKit
