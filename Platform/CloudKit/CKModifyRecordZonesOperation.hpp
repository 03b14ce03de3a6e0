#pragma once

#include "Platform/CloudKit/CKDatabaseOperation.hpp"
#include "Platform/CloudKit/CKRecordZone.hpp"
#include "Platform/CloudKit/Locked.hpp"
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

    std::vector<std::shared_ptr<CKRecordZone>> recordZonesToSave() const { return m_recordZonesToSave.get(); }
    void setRecordZonesToSave(std::vector<std::shared_ptr<CKRecordZone>> zones) { m_recordZonesToSave.set(std::move(zones)); }
    std::vector<CKRecordZone::ID> recordZoneIDsToDelete() const { return m_recordZoneIDsToDelete.get(); }
    void setRecordZoneIDsToDelete(std::vector<CKRecordZone::ID> zoneIDs) { m_recordZoneIDsToDelete.set(std::move(zoneIDs)); }

    void setPerRecordZoneSaveBlock(PerRecordZoneSaveBlock block) { m_perRecordZoneSaveBlock.set(std::move(block)); }
    void setPerRecordZoneDeleteBlock(PerRecordZoneDeleteBlock block) { m_perRecordZoneDeleteBlock.set(std::move(block)); }
    void setModifyRecordZonesResultBlock(ModifyRecordZonesResultBlock block) { m_modifyRecordZonesResultBlock.set(std::move(block)); }

protected:
    friend Foundation::Construct;
    CKModifyRecordZonesOperation() = default;
    CKModifyRecordZonesOperation(std::optional<std::vector<std::shared_ptr<CKRecordZone>>> recordZonesToSave,
                                 std::optional<std::vector<CKRecordZone::ID>> recordZoneIDsToDelete);

    void run(DatabaseFolder& folder, const std::optional<CKSimulation::Failure>& failure) override;
    void finish(const Foundation::ErrorPtr& error) override;
    CKSimulation::Operation simulatedOperation() const override { return CKSimulation::Operation::modifyRecordZones; }

private:
    Locked<std::vector<std::shared_ptr<CKRecordZone>>> m_recordZonesToSave;
    Locked<std::vector<CKRecordZone::ID>> m_recordZoneIDsToDelete;
    Locked<PerRecordZoneSaveBlock> m_perRecordZoneSaveBlock;
    Locked<PerRecordZoneDeleteBlock> m_perRecordZoneDeleteBlock;
    Locked<ModifyRecordZonesResultBlock> m_modifyRecordZonesResultBlock;
};

} // namespace CloudKit
