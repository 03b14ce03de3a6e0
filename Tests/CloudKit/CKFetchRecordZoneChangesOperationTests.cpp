#include "Tests/CloudKit/CloudKitFixture.hpp"

#include "Tests/Support/Files.hpp"

#include "Platform/CloudKit/ChangeBatch.hpp"
#include "Platform/Foundation/FileIO.hpp"

#include <algorithm>
#include <set>

using namespace CloudKitTests;
using Foundation::String;

namespace {

class CKFetchRecordZoneChangesOperationTests : public CloudKitFixture {
protected:
    void SetUp() override
    {
        CloudKitFixture::SetUp();
        ASSERT_TRUE(modifyZones(database(), {zoneID}).isSuccess());
    }

    void saveEntries(int from, int to)
    {
        std::vector<std::shared_ptr<CKRecord>> records;
        for (int i = from; i < to; ++i)
            records.push_back(entry("E" + std::to_string(i), zoneID, "title " + std::to_string(i)));
        ASSERT_TRUE(modify(database(), records).result->isSuccess());
    }

    std::set<std::string> partialBatchNames(const FetchOutcome& outcome)
    {
        std::set<std::string> names;
        if (!outcome.result || outcome.result->isSuccess())
            return names;
        auto& error = dynamic_cast<const CKError&>(*outcome.result->failureError());
        for (const auto& [id, itemError] : error.partialErrorsByItemID()) {
            if (auto name = std::get_if<String>(&id))
                names.insert(name->utf8());
        }
        return names;
    }
};

} // namespace

TEST_F(CKFetchRecordZoneChangesOperationTests, TokensDeliverOnlyWhatChangedSince)
{
    saveEntries(0, 3);
    auto first = fetchChanges(database(), zoneID, nullptr);
    EXPECT_EQ(first.changedNames(), (std::vector<std::string> {"E0", "E1", "E2"}));
    ASSERT_TRUE(first.token());

    auto changed = entry("E1", zoneID, "renamed");
    ASSERT_TRUE(modify(database(), {changed}, {CKRecord::ID("E2", zoneID)}).result->isSuccess());
    auto second = fetchChanges(database(), zoneID, first.token());
    EXPECT_EQ(second.changedNames(), std::vector<std::string> {"E1"});
    EXPECT_EQ(second.changed[0]->object("title")->as<String>()->utf8(), "renamed");
    EXPECT_EQ(second.deleted, std::vector<std::string> {"E2"});

    auto third = fetchChanges(database(), zoneID, second.token());
    EXPECT_TRUE(third.changed.empty());
    EXPECT_TRUE(third.deleted.empty());
    EXPECT_TRUE(third.result->isSuccess());
}

TEST_F(CKFetchRecordZoneChangesOperationTests, AnInterruptedFetchResumesFromItsLastTokenWithoutRepeats)
{
    for (int batch = 0; batch < 5; ++batch)
        saveEntries(batch * 10, batch * 10 + 10);

    // Rounds of 10 records; the connection drops after 25 records.
    CKSimulation::injectFailure({CKError::Code::networkFailure, CKSimulation::Operation::fetchRecordZoneChanges, std::nullopt, 25, 1});
    auto interrupted = fetchChanges(database(), zoneID, nullptr, 10);
    EXPECT_EQ(ckErrorCode(*interrupted.result->failureError()), CKError::Code::networkFailure);
    EXPECT_EQ(interrupted.zoneError(), CKError::Code::networkFailure);
    EXPECT_EQ(interrupted.tokenUpdates.size(), 2u);

    auto resumed = fetchChanges(database(), zoneID, interrupted.token(), 10);
    ASSERT_TRUE(resumed.result->isSuccess());
    // Records of the round that broke off come again; nothing the token covers does.
    std::set<std::string> names;
    auto covered = interrupted.changedNames();
    covered.resize(20);
    for (const auto& part : {covered, resumed.changedNames()}) {
        for (const auto& name : part)
            EXPECT_TRUE(names.insert(name).second) << name;
    }
    EXPECT_EQ(names.size(), 50u);

    auto oneRound = fetchChanges(database(), zoneID, nullptr, 10, false);
    EXPECT_EQ(oneRound.changed.size(), 10u);
    EXPECT_TRUE(oneRound.zoneResult->successValue()->moreComing);
}

TEST_F(CKFetchRecordZoneChangesOperationTests, ADeletedZoneEndsItsTokensAndStartsEmptyWhenMadeAgain)
{
    saveEntries(0, 2);
    auto before = fetchChanges(database(), zoneID, nullptr);
    ASSERT_TRUE(modifyZones(database(), {}, {zoneID}).isSuccess());
    EXPECT_EQ(fetchChanges(database(), zoneID, before.token()).zoneError(), CKError::Code::zoneNotFound);
    EXPECT_EQ(ckErrorCode(*modify(database(), {entry("E9", zoneID, "x")}).result->failureError()), CKError::Code::partialFailure);

    ASSERT_TRUE(modifyZones(database(), {zoneID}).isSuccess());
    EXPECT_EQ(fetchChanges(database(), zoneID, before.token()).zoneError(), CKError::Code::changeTokenExpired);
    auto fresh = fetchChanges(database(), zoneID, nullptr);
    EXPECT_TRUE(fresh.changed.empty());
    EXPECT_TRUE(fresh.result->isSuccess());

    auto other = CKContainer::withIdentifier("iCloud.test.Other")->privateCloudDatabase();
    ASSERT_TRUE(modifyZones(other, {zoneID}).isSuccess());
    EXPECT_EQ(fetchChanges(other, zoneID, fresh.token()).zoneError(), CKError::Code::changeTokenExpired);
}

TEST_F(CKFetchRecordZoneChangesOperationTests, UnusableBatchesAreReportedUntilTheyCanBeRead)
{
    saveEntries(0, 1);
    auto folder = batchesFolder();
    auto zoneBatch = ChangeBatch::decode(Foundation::FileIO::readFile((folder / TestSupport::entryNames(folder).front()).string()),
                                         TestSupport::entryNames(folder).front(), containerIdentifier, "_localAccount", {});
    std::string device(32, 'a');
    TestSupport::writeText(folder / (device + "-1.batch"), "{\"format\":\"CloudKit change batch\",\"ver");
    TestSupport::writeText(folder / (device + "-2.batch"),
                           "{\"format\":\"CloudKit change batch\",\"version\":99,\"container\":\"x\",\"account\":\"y\"}");
    TestSupport::writeText(folder / (device + "-3.batch"),
                           "{\"format\":\"CloudKit change batch\",\"version\":1,\"container\":\"iCloud.test.Other\","
                           "\"account\":\"_localAccount\",\"device\":\"" + device + "\",\"sequence\":3,\"clock\":1,\"date\":0,\"changes\":[]}");
    // What sync tools and people leave beside the batches is not read at all.
    TestSupport::writeText(folder / "notes (conflicted copy).batch", "anything");
    TestSupport::writeText(folder / "README.txt", "not a batch at all");
    saveEntries(1, 2);

    auto fetched = fetchChanges(database(), zoneID, nullptr);
    EXPECT_EQ(fetched.changedNames(), (std::vector<std::string> {"E0", "E1"}));
    std::set<std::string> unusable {device + "-1.batch", device + "-2.batch", device + "-3.batch"};
    EXPECT_EQ(partialBatchNames(fetched), unusable);
    auto& error = dynamic_cast<const CKError&>(*fetched.result->failureError());
    EXPECT_EQ(ckErrorCode(*error.partialError(String(device + "-2.batch"))), CKError::Code::incompatibleVersion);
    EXPECT_EQ(ckErrorCode(*error.partialError(String(device + "-3.batch"))), CKError::Code::badContainer);
    EXPECT_EQ(ckErrorCode(*error.partialError(String(device + "-1.batch"))), CKError::Code::internalError);

    // Not read is not seen: the next fetch meets them again.
    auto again = fetchChanges(database(), zoneID, fetched.token());
    EXPECT_TRUE(again.changed.empty());
    EXPECT_EQ(partialBatchNames(again), unusable);

    // The cut batch arrives whole, the others are taken away: what it holds arrives.
    ChangeBatch whole;
    whole.device = device;
    whole.sequence = 1;
    whole.clock = 1000;
    ChangeBatch::Change save;
    save.zoneID = zoneID;
    save.incarnation = zoneBatch.changes.front().incarnation;
    save.recordName = "R1";
    save.recordType = "Entry";
    save.replacesFields = true;
    save.fields.emplace("title", CKRecordValue(String("repaired")));
    whole.changes.push_back(save);
    TestSupport::writeText(folder / ".incoming", std::string(whole.encoded(containerIdentifier, "_localAccount", {}).view()));
    std::filesystem::rename(folder / ".incoming", folder / (device + "-1.batch"));
    std::filesystem::remove(folder / (device + "-2.batch"));
    std::filesystem::remove(folder / (device + "-3.batch"));
    auto repaired = fetchChanges(database(), zoneID, again.token());
    EXPECT_TRUE(repaired.result->isSuccess());
    EXPECT_EQ(repaired.changedNames(), std::vector<std::string> {"R1"});
    saveEntries(2, 3);
    EXPECT_EQ(fetchChanges(database(), zoneID, repaired.token()).changedNames(), std::vector<std::string> {"E2"});
}

TEST_F(CKFetchRecordZoneChangesOperationTests, ARecordThisVersionCannotReadArrivesAsAnError)
{
    saveEntries(0, 1);
    auto path = batchesFolder() / std::string(32, 'b').append("-1.batch");
    auto incarnation = [&] {
        for (const auto& file : std::filesystem::directory_iterator(batchesFolder())) {
            auto text = TestSupport::readText(file.path());
            auto at = text.find("\"incarnation\":\"");
            if (at != std::string::npos)
                return text.substr(at + 15, 36);
        }
        return std::string();
    }();
    TestSupport::writeText(path, "{\"format\":\"CloudKit change batch\",\"version\":1,\"container\":\"" + containerIdentifier
                                     + "\",\"account\":\"_localAccount\",\"device\":\"" + std::string(32, 'b')
                                     + "\",\"sequence\":1,\"clock\":50,\"date\":0,\"changes\":["
                                       "{\"change\":\"saveRecord\",\"zone\":\"CustomRecordZone\",\"owner\":\"__defaultOwner__\",\"incarnation\":\""
                                     + incarnation + "\",\"name\":\"E0\",\"type\":\"Entry\",\"replacesFields\":false,"
                                       "\"fields\":{\"title\":{\"hologram\":1}}},"
                                       "{\"change\":\"saveRecord\",\"zone\":\"CustomRecordZone\",\"owner\":\"__defaultOwner__\",\"incarnation\":\""
                                     + incarnation + "\",\"name\":\"N1\",\"type\":\"9 Lives\",\"replacesFields\":true,\"fields\":{}}]}");
    auto fetched = fetchChanges(database(), zoneID, nullptr);
    EXPECT_TRUE(fetched.changed.empty());
    ASSERT_EQ(fetched.unreadable.size(), 2u);
    EXPECT_EQ(ckErrorCode(*fetched.unreadable["E0"]), CKError::Code::incompatibleVersion);
    EXPECT_EQ(ckErrorCode(*fetched.unreadable["N1"]), CKError::Code::invalidArguments);

    // A later save of all fields makes the record readable again.
    auto replacement = entry("E0", zoneID, "fixed");
    ASSERT_TRUE(modify(database(), {replacement}, {}, CKModifyRecordsOperation::RecordSavePolicy::allKeys).result->isSuccess());
    EXPECT_EQ(fetchChanges(database(), zoneID, fetched.token()).changedNames(), std::vector<std::string> {"E0"});
}
