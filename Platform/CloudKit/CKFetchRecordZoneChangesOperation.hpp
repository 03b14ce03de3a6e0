#pragma once

#include "Platform/CloudKit/CKDatabaseOperation.hpp"
#include "Platform/CloudKit/CKRecord.hpp"
#include "Platform/CloudKit/CKRecordZone.hpp"
#include "Platform/CloudKit/CKServerChangeToken.hpp"
#include "Platform/CloudKit/Locked.hpp"
#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/Result.hpp"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace CloudKit {

// Fetches what changed in zones since their tokens: each changed record (or the error that keeps it
// from being read), each deleted record, and a new token whenever a round of changes has been
// delivered, so that a fetch that stops half way resumes where it stopped. Each zone ends with its
// result; the operation ends with success, or a partial failure naming the zones that failed and the
// change batches that could not be read (those are skipped and reported by every fetch until they can be read).
class CKFetchRecordZoneChangesOperation : public CKDatabaseOperation {
public:
    struct ZoneConfiguration {
        std::shared_ptr<CKServerChangeToken> previousServerChangeToken;
        // Records per round; 0: as many as the service likes.
        std::int64_t resultsLimit = 0;
        std::optional<std::vector<Foundation::String>> desiredKeys;
    };
    struct RecordZoneFetchResult {
        std::shared_ptr<CKServerChangeToken> serverChangeToken;
        std::optional<Foundation::Data> clientChangeTokenData;
        bool moreComing = false;
    };

    using RecordWasChangedBlock = std::function<void(const CKRecord::ID&, const Foundation::Result<std::shared_ptr<CKRecord>>&)>;
    using RecordWithIDWasDeletedBlock = std::function<void(const CKRecord::ID&, const CKRecord::RecordType&)>;
    using RecordZoneChangeTokensUpdatedBlock = std::function<void(const CKRecordZone::ID&, const std::shared_ptr<CKServerChangeToken>&,
                                                                  const std::optional<Foundation::Data>&)>;
    using RecordZoneFetchResultBlock = std::function<void(const CKRecordZone::ID&, const Foundation::Result<RecordZoneFetchResult>&)>;
    using FetchRecordZoneChangesResultBlock = std::function<void(const Foundation::Result<void>&)>;

    std::vector<CKRecordZone::ID> recordZoneIDs() const { return m_recordZoneIDs.get(); }
    void setRecordZoneIDs(std::vector<CKRecordZone::ID> zoneIDs) { m_recordZoneIDs.set(std::move(zoneIDs)); }
    std::map<CKRecordZone::ID, ZoneConfiguration> configurationsByRecordZoneID() const { return m_configurations.get(); }
    void setConfigurationsByRecordZoneID(std::map<CKRecordZone::ID, ZoneConfiguration> configurations)
    {
        m_configurations.set(std::move(configurations));
    }
    // True (the default): rounds go on until a zone has nothing more; false: one round per zone.
    bool fetchAllChanges() const { return m_fetchAllChanges.get(); }
    void setFetchAllChanges(bool fetchAll) { m_fetchAllChanges.set(fetchAll); }

    void setRecordWasChangedBlock(RecordWasChangedBlock block) { m_recordWasChanged.set(std::move(block)); }
    void setRecordWithIDWasDeletedBlock(RecordWithIDWasDeletedBlock block) { m_recordWithIDWasDeleted.set(std::move(block)); }
    void setRecordZoneChangeTokensUpdatedBlock(RecordZoneChangeTokensUpdatedBlock block) { m_tokensUpdated.set(std::move(block)); }
    void setRecordZoneFetchResultBlock(RecordZoneFetchResultBlock block) { m_zoneFetchResult.set(std::move(block)); }
    void setFetchRecordZoneChangesResultBlock(FetchRecordZoneChangesResultBlock block) { m_result.set(std::move(block)); }

protected:
    friend Foundation::Construct;
    CKFetchRecordZoneChangesOperation() = default;
    CKFetchRecordZoneChangesOperation(std::vector<CKRecordZone::ID> recordZoneIDs,
                                      std::map<CKRecordZone::ID, ZoneConfiguration> configurationsByRecordZoneID = {});

    void run(DatabaseFolder& folder, const std::optional<CKSimulation::Failure>& failure) override;
    void finish(const Foundation::ErrorPtr& error) override;
    CKSimulation::Operation simulatedOperation() const override { return CKSimulation::Operation::fetchRecordZoneChanges; }

private:
    Locked<std::vector<CKRecordZone::ID>> m_recordZoneIDs;
    Locked<std::map<CKRecordZone::ID, ZoneConfiguration>> m_configurations;
    Locked<bool> m_fetchAllChanges {true};
    Locked<RecordWasChangedBlock> m_recordWasChanged;
    Locked<RecordWithIDWasDeletedBlock> m_recordWithIDWasDeleted;
    Locked<RecordZoneChangeTokensUpdatedBlock> m_tokensUpdated;
    Locked<RecordZoneFetchResultBlock> m_zoneFetchResult;
    Locked<FetchRecordZoneChangesResultBlock> m_result;
};

} // namespace CloudKit
