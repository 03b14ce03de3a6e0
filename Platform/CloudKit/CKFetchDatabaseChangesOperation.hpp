#pragma once

#include "Platform/CloudKit/CKDatabaseOperation.hpp"
#include "Platform/CloudKit/CKRecordZone.hpp"
#include "Platform/CloudKit/CKServerChangeToken.hpp"
#include "Platform/CloudKit/Locked.hpp"
#include "Platform/Foundation/Result.hpp"

#include <cstdint>
#include <functional>
#include <memory>

namespace CloudKit {

// Fetches which zones of the database changed, and which were deleted, since a token: the way to learn
// that another device deleted a zone (its records then are gone), and to leave alone zones nothing
// changed in. Without a token every zone counts as changed and none as deleted. Change batches that
// cannot be read end it with a partial failure naming them, until they are repaired, as zone fetches do.
class CKFetchDatabaseChangesOperation : public CKDatabaseOperation {
public:
    struct FetchDatabaseChangesResult {
        std::shared_ptr<CKServerChangeToken> serverChangeToken;
        bool moreComing = false;
    };
    using RecordZoneWithIDChangedBlock = std::function<void(const CKRecordZone::ID&)>;
    using RecordZoneWithIDWasDeletedBlock = std::function<void(const CKRecordZone::ID&)>;
    using ChangeTokenUpdatedBlock = std::function<void(const std::shared_ptr<CKServerChangeToken>&)>;
    using FetchDatabaseChangesResultBlock = std::function<void(const Foundation::Result<FetchDatabaseChangesResult>&)>;

    std::shared_ptr<CKServerChangeToken> previousServerChangeToken() const { return m_previousServerChangeToken.get(); }
    void setPreviousServerChangeToken(std::shared_ptr<CKServerChangeToken> token) { m_previousServerChangeToken.set(std::move(token)); }
    // Zones per round; every change fits one round here.
    std::int64_t resultsLimit() const { return m_resultsLimit.get(); }
    void setResultsLimit(std::int64_t limit) { m_resultsLimit.set(limit); }

    void setRecordZoneWithIDChangedBlock(RecordZoneWithIDChangedBlock block) { m_changed.set(std::move(block)); }
    void setRecordZoneWithIDWasDeletedBlock(RecordZoneWithIDWasDeletedBlock block) { m_deleted.set(std::move(block)); }
    void setChangeTokenUpdatedBlock(ChangeTokenUpdatedBlock block) { m_tokenUpdated.set(std::move(block)); }
    void setFetchDatabaseChangesResultBlock(FetchDatabaseChangesResultBlock block) { m_result.set(std::move(block)); }

protected:
    friend Foundation::Construct;
    CKFetchDatabaseChangesOperation() = default;
    explicit CKFetchDatabaseChangesOperation(std::shared_ptr<CKServerChangeToken> previousServerChangeToken)
        : m_previousServerChangeToken(std::move(previousServerChangeToken))
    {
    }

    void run(DatabaseFolder& folder, const std::optional<CKSimulation::Failure>& failure) override;
    void finish(const Foundation::ErrorPtr& error) override;
    CKSimulation::Operation simulatedOperation() const override { return CKSimulation::Operation::fetchDatabaseChanges; }

private:
    Locked<std::shared_ptr<CKServerChangeToken>> m_previousServerChangeToken;
    Locked<std::int64_t> m_resultsLimit {0};
    Locked<RecordZoneWithIDChangedBlock> m_changed;
    Locked<RecordZoneWithIDWasDeletedBlock> m_deleted;
    Locked<ChangeTokenUpdatedBlock> m_tokenUpdated;
    Locked<FetchDatabaseChangesResultBlock> m_result;
};

} // namespace CloudKit
