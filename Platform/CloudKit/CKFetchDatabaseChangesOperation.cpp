#include "Platform/CloudKit/CKFetchDatabaseChangesOperation.hpp"

#include "Platform/CloudKit/DatabaseFolder.hpp"

namespace CloudKit {

void CKFetchDatabaseChangesOperation::run(DatabaseFolder& folder, const std::optional<CKSimulation::Failure>& failure)
{
    // Zone-level failures name a zone; for the database as a whole they are what the service answers.
    if (failure)
        throw CKError(failure->code, "Simulated failure");
    auto changes = folder.fetchDatabaseChanges(previousServerChangeToken());
    if (auto deleted = m_deleted.get()) {
        for (const auto& zoneID : changes.deleted)
            deleted(zoneID);
    }
    if (auto changed = m_changed.get()) {
        for (const auto& zoneID : changes.changed)
            changed(zoneID);
    }
    auto result = m_result.get();
    if (!result)
        return;
    if (!changes.unreadableBatches.empty()) {
        // The token already covers the skipped batches: handing it out first keeps them reported once.
        if (auto tokenUpdated = m_tokenUpdated.get())
            tokenUpdated(changes.token);
        return result(Foundation::Result<FetchDatabaseChangesResult>::failure(CKError::partialFailure(std::move(changes.unreadableBatches))));
    }
    result(Foundation::Result<FetchDatabaseChangesResult>::success({changes.token, false}));
}

void CKFetchDatabaseChangesOperation::finish(const Foundation::ErrorPtr& error)
{
    if (auto result = m_result.get())
        result(Foundation::Result<FetchDatabaseChangesResult>::failure(error));
}

} // namespace CloudKit
