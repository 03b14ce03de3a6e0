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

// Fetches zones by identifier (a missing one ends with zoneNotFound), or every zone of the database.
class CKFetchRecordZonesOperation : public CKDatabaseOperation {
public:
    using PerRecordZoneResultBlock = std::function<void(const CKRecordZone::ID&, const Foundation::Result<std::shared_ptr<CKRecordZone>>&)>;
    using FetchRecordZonesResultBlock = std::function<void(const Foundation::Result<void>&)>;

    static std::shared_ptr<CKFetchRecordZonesOperation> fetchAllRecordZonesOperation();

    // Nothing: every zone.
    std::optional<std::vector<CKRecordZone::ID>> recordZoneIDs() const { return m_recordZoneIDs.get(); }
    void setRecordZoneIDs(std::optional<std::vector<CKRecordZone::ID>> zoneIDs) { m_recordZoneIDs.set(std::move(zoneIDs)); }

    void setPerRecordZoneResultBlock(PerRecordZoneResultBlock block) { m_perRecordZoneResultBlock.set(std::move(block)); }
    void setFetchRecordZonesResultBlock(FetchRecordZonesResultBlock block) { m_fetchRecordZonesResultBlock.set(std::move(block)); }

protected:
    friend Foundation::Construct;
    CKFetchRecordZonesOperation() = default;
    explicit CKFetchRecordZonesOperation(std::vector<CKRecordZone::ID> recordZoneIDs);

    void run(DatabaseFolder& folder, const std::optional<CKSimulation::Failure>& failure) override;
    void finish(const Foundation::ErrorPtr& error) override;
    CKSimulation::Operation simulatedOperation() const override { return CKSimulation::Operation::fetchRecordZones; }

private:
    Locked<std::optional<std::vector<CKRecordZone::ID>>> m_recordZoneIDs;
    Locked<PerRecordZoneResultBlock> m_perRecordZoneResultBlock;
    Locked<FetchRecordZonesResultBlock> m_fetchRecordZonesResultBlock;
};

} // namespace CloudKit
