#include "Platform/CloudKit/CKFetchRecordZoneChangesOperation.hpp"

#include "Platform/CloudKit/DatabaseFolder.hpp"
#include "Platform/CloudKit/ItemResults.hpp"

#include <limits>
#include <set>

namespace CloudKit {
namespace {

std::shared_ptr<CKRecord> withKeys(const std::shared_ptr<CKRecord>& record, const std::vector<Foundation::String>& keys)
{
    std::set<std::string> wanted;
    for (const auto& key : keys)
        wanted.insert(key.utf8());
    CKRecord::Fields fields;
    for (auto& [key, value] : record->fields()) {
        if (wanted.contains(key))
            fields.emplace(key, std::move(value));
    }
    return CKRecord::fromServer(record->recordType(), record->recordID(), std::move(fields),
                                {record->recordChangeTag(), record->creationDate(), record->modificationDate()});
}

} // namespace

CKFetchRecordZoneChangesOperation::CKFetchRecordZoneChangesOperation(std::vector<CKRecordZone::ID> recordZoneIDs,
                                                                     std::map<CKRecordZone::ID, ZoneConfiguration> configurationsByRecordZoneID)
    : m_recordZoneIDs(std::move(recordZoneIDs))
    , m_configurations(std::move(configurationsByRecordZoneID))
{
}

void CKFetchRecordZoneChangesOperation::run(DatabaseFolder& folder, const std::optional<CKSimulation::Failure>& failure)
{
    using ZoneResult = Foundation::Result<RecordZoneFetchResult>;
    auto recordWasChanged = m_recordWasChanged.get();
    auto recordWithIDWasDeleted = m_recordWithIDWasDeleted.get();
    auto tokensUpdated = m_tokensUpdated.get();
    auto zoneFetchResult = m_zoneFetchResult.get();
    auto configurations = configurationsByRecordZoneID();
    bool fetchAll = fetchAllChanges();
    bool operationLevel = failure && !isZoneLevel(failure->code);
    CKError::PartialErrors failures;
    std::set<std::string> reportedBatches;

    for (const auto& zoneID : recordZoneIDs()) {
        if (isCancelled())
            throw CKError(CKError::Code::operationCancelled, "The operation was cancelled");
        // An injected failure meets the first zone (or its own zone) after its number of records.
        bool failsHere = failure && (operationLevel || !failure->zoneID || *failure->zoneID == zoneID);
        auto budget = failsHere ? failure->afterRecords : std::numeric_limits<std::int64_t>::max();
        auto zoneFailed = [&](Foundation::ErrorPtr error) {
            if (zoneFetchResult)
                zoneFetchResult(zoneID, ZoneResult::failure(error));
            failures.emplace_back(zoneID, std::move(error));
        };

        auto configuration = configurations[zoneID];
        DatabaseFolder::ZoneChanges changes;
        try {
            changes = folder.fetchChanges(zoneID, configuration.previousServerChangeToken, configuration.resultsLimit, fetchAll);
        } catch (const CKError& error) {
            zoneFailed(error.clone());
            continue;
        }
        for (const auto& [name, error] : changes.unreadableBatches) {
            if (reportedBatches.insert(std::get<Foundation::String>(name).utf8()).second)
                failures.emplace_back(name, error);
        }

        bool stopped = false;
        bool unread = false;
        for (std::size_t index = 0; index < changes.rounds.size() && !stopped; ++index) {
            // A fetch stops between rounds when cancelled: what it delivered ends with its token.
            if (index > 0 && isCancelled())
                throw CKError(CKError::Code::operationCancelled, "The operation was cancelled");
            auto& round = changes.rounds[index];
            std::vector<std::pair<CKRecordID, Foundation::Result<std::shared_ptr<CKRecord>>>> records;
            try {
                records = folder.changedRecords(round);
            } catch (const CKError& error) {
                // The zone fails before the round's token: the next fetch delivers the round from the
                // batches as they are then.
                zoneFailed(error.clone());
                unread = true;
                break;
            }
            round.changed.clear();
            for (const auto& [id, result] : records) {
                if (budget-- <= 0) {
                    stopped = true;
                    break;
                }
                if (!recordWasChanged)
                    continue;
                if (configuration.desiredKeys && result.isSuccess())
                    recordWasChanged(id, Foundation::Result<std::shared_ptr<CKRecord>>::success(
                                                    withKeys(*result.successValue(), *configuration.desiredKeys)));
                else
                    recordWasChanged(id, result);
            }
            for (const auto& [id, type] : round.deleted) {
                if (stopped || budget-- <= 0) {
                    stopped = true;
                    break;
                }
                if (recordWithIDWasDeleted)
                    recordWithIDWasDeleted(id, type);
            }
            if (!stopped && index + 1 < changes.rounds.size() && tokensUpdated)
                tokensUpdated(zoneID, round.token, std::nullopt);
        }

        if (unread)
            continue;
        if (failsHere) {
            CKError error(failure->code, "Simulated failure");
            if (operationLevel) {
                if (zoneFetchResult)
                    zoneFetchResult(zoneID, ZoneResult::failure(error));
                throw error;
            }
            zoneFailed(error.clone());
            continue;
        }
        if (zoneFetchResult)
            zoneFetchResult(zoneID, ZoneResult::success({changes.rounds.back().token, std::nullopt, changes.moreComing}));
    }

    if (auto result = m_result.get())
        result(ItemResults::overall(std::move(failures)));
}

void CKFetchRecordZoneChangesOperation::finish(const Foundation::ErrorPtr& error)
{
    if (auto result = m_result.get())
        result(Foundation::Result<void>::failure(error));
}

} // namespace CloudKit
