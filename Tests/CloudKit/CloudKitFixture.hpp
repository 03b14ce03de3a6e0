#pragma once

#include "Platform/CloudKit/CKContainer.hpp"
#include "Platform/CloudKit/CKDatabase.hpp"
#include "Platform/CloudKit/CKError.hpp"
#include "Platform/CloudKit/CKFetchRecordZoneChangesOperation.hpp"
#include "Platform/CloudKit/CKModifyRecordZonesOperation.hpp"
#include "Platform/CloudKit/CKModifyRecordsOperation.hpp"
#include "Platform/CloudKit/CKRecord.hpp"
#include "Platform/CloudKit/CKRecordZone.hpp"
#include "Platform/CloudKit/CKServerChangeToken.hpp"
#include "Platform/CloudKit/CKSimulation.hpp"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace CloudKitTests {

using namespace CloudKit;

// Every test gets a container folder of its own, the local account and no injected failures.
class CloudKitFixture : public testing::Test {
protected:
    void SetUp() override
    {
        static int counter = 0;
        m_folder = std::filesystem::path(std::getenv("TMPDIR")) / ("containers-" + std::to_string(++counter));
        std::filesystem::create_directories(m_folder);
        ::setenv("CORVENDALE_CLOUDKIT_FOLDER", m_folder.c_str(), 1);
        CKSimulation::setAccount(Foundation::String("_localAccount"));
        CKSimulation::removeInjectedFailures();
    }
    void TearDown() override
    {
        CKSimulation::removeInjectedFailures();
        CKSimulation::setAccount(Foundation::String("_localAccount"));
    }

    // One installation's view of the container: a container object of its own.
    std::shared_ptr<CKDatabase> database() const { return CKContainer::withIdentifier(containerIdentifier)->privateCloudDatabase(); }
    std::filesystem::path batchesFolder() const { return m_folder / containerIdentifier / "_localAccount" / "Batches"; }

    static inline const std::string containerIdentifier = "iCloud.test.Corvendale";
    const CKRecordZone::ID zoneID {"CustomRecordZone"};
    std::filesystem::path m_folder;
};

struct ModifyOutcome {
    std::map<std::string, Foundation::Result<std::shared_ptr<CKRecord>>> saves;
    std::map<std::string, Foundation::Result<void>> deletes;
    std::optional<Foundation::Result<void>> result;

    std::shared_ptr<CKRecord> saved(const std::string& name) const { return saves.at(name).get(); }
    std::optional<CKError::Code> error(const std::string& name) const
    {
        auto save = saves.find(name);
        auto error = save != saves.end() ? save->second.failureError() : deletes.at(name).failureError();
        return error ? ckErrorCode(*error) : std::nullopt;
    }
};

inline ModifyOutcome modify(const std::shared_ptr<CKDatabase>& database, std::vector<std::shared_ptr<CKRecord>> saves,
                            std::vector<CKRecord::ID> deletes = {},
                            CKModifyRecordsOperation::RecordSavePolicy policy = CKModifyRecordsOperation::RecordSavePolicy::changedKeys,
                            bool atomic = true)
{
    auto outcome = std::make_shared<ModifyOutcome>();
    auto mutex = std::make_shared<std::mutex>();
    auto operation = Foundation::make<CKModifyRecordsOperation>(std::move(saves), std::move(deletes));
    operation->setSavePolicy(policy);
    operation->setIsAtomic(atomic);
    operation->setPerRecordSaveBlock([=](const CKRecord::ID& id, const auto& result) {
        std::lock_guard lock(*mutex);
        outcome->saves.emplace(id.recordName().utf8(), result);
    });
    operation->setPerRecordDeleteBlock([=](const CKRecord::ID& id, const auto& result) {
        std::lock_guard lock(*mutex);
        outcome->deletes.emplace(id.recordName().utf8(), result);
    });
    operation->setModifyRecordsResultBlock([=](const auto& result) {
        std::lock_guard lock(*mutex);
        outcome->result = result;
    });
    database->add(operation);
    operation->waitUntilFinished();
    std::lock_guard lock(*mutex);
    return *outcome;
}

inline Foundation::Result<void> modifyZones(const std::shared_ptr<CKDatabase>& database, std::vector<CKRecordZone::ID> saves,
                                            std::vector<CKRecordZone::ID> deletes = {})
{
    std::vector<std::shared_ptr<CKRecordZone>> zones;
    for (const auto& id : saves)
        zones.push_back(Foundation::make<CKRecordZone>(id));
    auto operation = Foundation::make<CKModifyRecordZonesOperation>(std::move(zones), std::move(deletes));
    auto result = std::make_shared<std::optional<Foundation::Result<void>>>();
    operation->setModifyRecordZonesResultBlock([result](const auto& outcome) { *result = outcome; });
    database->add(operation);
    operation->waitUntilFinished();
    return **result;
}

struct FetchOutcome {
    std::vector<std::shared_ptr<CKRecord>> changed;
    std::map<std::string, Foundation::ErrorPtr> unreadable;
    std::vector<std::string> deleted;
    std::vector<std::shared_ptr<CKServerChangeToken>> tokenUpdates;
    std::optional<Foundation::Result<CKFetchRecordZoneChangesOperation::RecordZoneFetchResult>> zoneResult;
    std::optional<Foundation::Result<void>> result;

    std::vector<std::string> changedNames() const
    {
        std::vector<std::string> names;
        for (const auto& record : changed)
            names.push_back(record->recordID().recordName().utf8());
        return names;
    }
    // The last token the fetch handed out, final or not.
    std::shared_ptr<CKServerChangeToken> token() const
    {
        if (zoneResult && zoneResult->isSuccess())
            return zoneResult->successValue()->serverChangeToken;
        return tokenUpdates.empty() ? nullptr : tokenUpdates.back();
    }
    std::optional<CKError::Code> zoneError() const
    {
        auto error = zoneResult ? zoneResult->failureError() : nullptr;
        return error ? ckErrorCode(*error) : std::nullopt;
    }
};

inline FetchOutcome fetchChanges(const std::shared_ptr<CKDatabase>& database, const CKRecordZone::ID& zoneID,
                                 std::shared_ptr<CKServerChangeToken> token, std::int64_t resultsLimit = 0, bool fetchAll = true)
{
    auto outcome = std::make_shared<FetchOutcome>();
    auto operation = Foundation::make<CKFetchRecordZoneChangesOperation>(
        std::vector {zoneID}, std::map<CKRecordZone::ID, CKFetchRecordZoneChangesOperation::ZoneConfiguration> {
                                  {zoneID, {std::move(token), resultsLimit, std::nullopt}}});
    operation->setFetchAllChanges(fetchAll);
    // The blocks run one after another on the operation's thread.
    operation->setRecordWasChangedBlock([outcome](const CKRecord::ID& id, const auto& result) {
        if (result.isSuccess())
            outcome->changed.push_back(*result.successValue());
        else
            outcome->unreadable[id.recordName().utf8()] = result.failureError();
    });
    operation->setRecordWithIDWasDeletedBlock(
        [outcome](const CKRecord::ID& id, const CKRecord::RecordType&) { outcome->deleted.push_back(id.recordName().utf8()); });
    operation->setRecordZoneChangeTokensUpdatedBlock(
        [outcome](const CKRecordZone::ID&, const auto& token, const auto&) { outcome->tokenUpdates.push_back(token); });
    operation->setRecordZoneFetchResultBlock([outcome](const CKRecordZone::ID&, const auto& result) { outcome->zoneResult = result; });
    operation->setFetchRecordZoneChangesResultBlock([outcome](const auto& result) { outcome->result = result; });
    database->add(operation);
    operation->waitUntilFinished();
    return *outcome;
}

inline std::shared_ptr<CKRecord> entry(const std::string& name, const CKRecordZone::ID& zoneID, const std::string& title)
{
    auto record = Foundation::make<CKRecord>("Entry", CKRecord::ID(name, zoneID));
    record->setObject(Foundation::String(title), "title");
    return record;
}

} // namespace CloudKitTests
