#pragma once

#include "Platform/CloudKit/CKDatabaseOperation.hpp"
#include "Platform/CloudKit/CKRecord.hpp"
#include "Platform/CloudKit/CKRecordZone.hpp"
#include "Platform/CloudKit/CKServerChangeToken.hpp"
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
// change batches that could not be read (those are skipped, and reported once per token).
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

    std::vector<CKRecordZone::ID> recordZoneIDs() const;
    void setRecordZoneIDs(std::vector<CKRecordZone::ID> zoneIDs);
    std::map<CKRecordZone::ID, ZoneConfiguration> configurationsByRecordZoneID() const;
    void setConfigurationsByRecordZoneID(std::map<CKRecordZone::ID, ZoneConfiguration> configurations);
    // True (the default): rounds go on until a zone has nothing more; false: one round per zone.
    bool fetchAllChanges() const;
    void setFetchAllChanges(bool fetchAll);

    void setRecordWasChangedBlock(RecordWasChangedBlock block);
    void setRecordWithIDWasDeletedBlock(RecordWithIDWasDeletedBlock block);
    void setRecordZoneChangeTokensUpdatedBlock(RecordZoneChangeTokensUpdatedBlock block);
    void setRecordZoneFetchResultBlock(RecordZoneFetchResultBlock block);
    void setFetchRecordZoneChangesResultBlock(FetchRecordZoneChangesResultBlock block);

protected:
    friend Foundation::Construct;
    CKFetchRecordZoneChangesOperation() = default;
    CKFetchRecordZoneChangesOperation(std::vector<CKRecordZone::ID> recordZoneIDs,
                                      std::map<CKRecordZone::ID, ZoneConfiguration> configurationsByRecordZoneID = {});

    void run(DatabaseFolder& folder, const std::optional<CKSimulation::Failure>& failure) override;
    void finish(const Foundation::ErrorPtr& error) override;
    CKSimulation::Operation simulatedOperation() const override { return CKSimulation::Operation::fetchRecordZoneChanges; }

private:
    struct Blocks {
        RecordWasChangedBlock recordWasChanged;
        RecordWithIDWasDeletedBlock recordWithIDWasDeleted;
        RecordZoneChangeTokensUpdatedBlock tokensUpdated;
        RecordZoneFetchResultBlock zoneFetchResult;
        FetchRecordZoneChangesResultBlock result;
    };
    Blocks blocks() const;

    std::vector<CKRecordZone::ID> m_recordZoneIDs;
    std::map<CKRecordZone::ID, ZoneConfiguration> m_configurations;
    bool m_fetchAllChanges = true;
    Blocks m_blocks;
};

} // namespace CloudKit
