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

std::vector<CKRecordZone::ID> CKFetchRecordZoneChangesOperation::recordZoneIDs() const
{
    std::lock_guard lock(m_blockMutex);
    return m_recordZoneIDs;
}

void CKFetchRecordZoneChangesOperation::setRecordZoneIDs(std::vector<CKRecordZone::ID> zoneIDs)
{
    std::lock_guard lock(m_blockMutex);
    m_recordZoneIDs = std::move(zoneIDs);
}

std::map<CKRecordZone::ID, CKFetchRecordZoneChangesOperation::ZoneConfiguration> CKFetchRecordZoneChangesOperation::configurationsByRecordZoneID() const
{
    std::lock_guard lock(m_blockMutex);
    return m_configurations;
}

void CKFetchRecordZoneChangesOperation::setConfigurationsByRecordZoneID(std::map<CKRecordZone::ID, ZoneConfiguration> configurations)
{
    std::lock_guard lock(m_blockMutex);
    m_configurations = std::move(configurations);
}

bool CKFetchRecordZoneChangesOperation::fetchAllChanges() const
{
    std::lock_guard lock(m_blockMutex);
    return m_fetchAllChanges;
}

void CKFetchRecordZoneChangesOperation::setFetchAllChanges(bool fetchAll)
{
    std::lock_guard lock(m_blockMutex);
    m_fetchAllChanges = fetchAll;
}

void CKFetchRecordZoneChangesOperation::setRecordWasChangedBlock(RecordWasChangedBlock block)
{
    std::lock_guard lock(m_blockMutex);
    m_blocks.recordWasChanged = std::move(block);
}

void CKFetchRecordZoneChangesOperation::setRecordWithIDWasDeletedBlock(RecordWithIDWasDeletedBlock block)
{
    std::lock_guard lock(m_blockMutex);
    m_blocks.recordWithIDWasDeleted = std::move(block);
}

void CKFetchRecordZoneChangesOperation::setRecordZoneChangeTokensUpdatedBlock(RecordZoneChangeTokensUpdatedBlock block)
{
    std::lock_guard lock(m_blockMutex);
    m_blocks.tokensUpdated = std::move(block);
}

void CKFetchRecordZoneChangesOperation::setRecordZoneFetchResultBlock(RecordZoneFetchResultBlock block)
{
    std::lock_guard lock(m_blockMutex);
    m_blocks.zoneFetchResult = std::move(block);
}

void CKFetchRecordZoneChangesOperation::setFetchRecordZoneChangesResultBlock(FetchRecordZoneChangesResultBlock block)
{
    std::lock_guard lock(m_blockMutex);
    m_blocks.result = std::move(block);
}

CKFetchRecordZoneChangesOperation::Blocks CKFetchRecordZoneChangesOperation::blocks() const
{
    std::lock_guard lock(m_blockMutex);
    return m_blocks;
}

void CKFetchRecordZoneChangesOperation::run(DatabaseFolder& folder, const std::optional<CKSimulation::Failure>& failure)
{
    using ZoneResult = Foundation::Result<RecordZoneFetchResult>;
    auto blocks = this->blocks();
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
            if (blocks.zoneFetchResult)
                blocks.zoneFetchResult(zoneID, ZoneResult::failure(error));
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
        for (std::size_t index = 0; index < changes.rounds.size() && !stopped; ++index) {
            const auto& round = changes.rounds[index];
            for (const auto& [id, result] : round.changed) {
                if (budget-- <= 0) {
                    stopped = true;
                    break;
                }
                if (!blocks.recordWasChanged)
                    continue;
                if (configuration.desiredKeys && result.isSuccess())
                    blocks.recordWasChanged(id, Foundation::Result<std::shared_ptr<CKRecord>>::success(
                                                    withKeys(*result.successValue(), *configuration.desiredKeys)));
                else
                    blocks.recordWasChanged(id, result);
            }
            for (const auto& [id, type] : round.deleted) {
                if (stopped || budget-- <= 0) {
                    stopped = true;
                    break;
                }
                if (blocks.recordWithIDWasDeleted)
                    blocks.recordWithIDWasDeleted(id, type);
            }
            if (!stopped && index + 1 < changes.rounds.size() && blocks.tokensUpdated)
                blocks.tokensUpdated(zoneID, round.token, std::nullopt);
        }

        if (failsHere) {
            CKError error(failure->code, "Simulated failure");
            if (operationLevel) {
                if (blocks.zoneFetchResult)
                    blocks.zoneFetchResult(zoneID, ZoneResult::failure(error));
                throw error;
            }
            zoneFailed(error.clone());
            continue;
        }
        if (blocks.zoneFetchResult)
            blocks.zoneFetchResult(zoneID, ZoneResult::success({changes.rounds.back().token, std::nullopt, changes.moreComing}));
    }

    if (blocks.result)
        blocks.result(ItemResults::overall(std::move(failures)));
}

void CKFetchRecordZoneChangesOperation::finish(const Foundation::ErrorPtr& error)
{
    if (auto block = blocks().result)
        block(Foundation::Result<void>::failure(error));
}

} // namespace CloudKit
