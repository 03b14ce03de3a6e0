#include "Tests/CloudKit/CloudKitFixture.hpp"

#include "Platform/CloudKit/CKAsset.hpp"
#include "Platform/Foundation/NSKeyedArchiver.hpp"
#include "Platform/Foundation/NSKeyedUnarchiver.hpp"
#include "Tests/Support/Files.hpp"

using namespace CloudKitTests;
using Foundation::String;
using Policy = CKModifyRecordsOperation::RecordSavePolicy;

namespace {

class CKModifyRecordsOperationTests : public CloudKitFixture {
protected:
    void SetUp() override
    {
        CloudKitFixture::SetUp();
        ASSERT_TRUE(modifyZones(database(), {zoneID}).isSuccess());
    }
};

std::string title(const std::shared_ptr<CKRecord>& record)
{
    auto value = record->object("title");
    return value ? value->as<String>()->utf8() : "<none>";
}

} // namespace

TEST_F(CKModifyRecordsOperationTests, SavedRecordsComeBackWithSystemFieldsAndReachAnotherInstallation)
{
    auto outcome = modify(database(), {entry("E1", zoneID, "Mail"), entry("E2", zoneID, "Bank")});
    ASSERT_TRUE(outcome.result->isSuccess());
    auto saved = outcome.saved("E1");
    EXPECT_EQ(title(saved), "Mail");
    EXPECT_TRUE(saved->recordChangeTag());
    EXPECT_TRUE(saved->changedKeys().empty());
    EXPECT_EQ(saved->creationDate(), saved->modificationDate());

    auto fetched = fetchChanges(database(), zoneID, nullptr);
    EXPECT_EQ(fetched.changedNames(), (std::vector<std::string> {"E1", "E2"}));
    EXPECT_EQ(fetched.changed[0]->recordChangeTag(), saved->recordChangeTag());
}

TEST_F(CKModifyRecordsOperationTests, SavePoliciesDecideWhatAStaleRecordDoes)
{
    auto base = modify(database(), {entry("E1", zoneID, "Mail")}).saved("E1");
    base->setObject(String("alice"), "user");
    auto current = modify(database(), {base}).saved("E1");

    // A record made from the old copy: its tag no longer matches.
    auto stale = Foundation::NSKeyedUnarchiver::unarchivedObject<CKRecord>(Foundation::NSKeyedArchiver::archivedData(base, true));
    stale->setObject(String("Mail (work)"), "title");
    auto conflict = modify(database(), {stale}, {}, Policy::ifServerRecordUnchanged);
    ASSERT_EQ(conflict.error("E1"), CKError::Code::serverRecordChanged);
    auto partial = dynamic_cast<const CKError&>(*conflict.result->failureError());
    EXPECT_EQ(partial.errorCode(), CKError::Code::partialFailure);
    auto& error = dynamic_cast<const CKError&>(*partial.partialError(CKRecord::ID("E1", zoneID)));
    EXPECT_EQ(error.serverRecord()->recordChangeTag(), current->recordChangeTag());
    EXPECT_EQ(error.serverRecord()->object("user")->as<String>()->utf8(), "alice");

    // Only the changed key is written, so the other device's field stays.
    auto merged = modify(database(), {stale}, {}, Policy::changedKeys).saved("E1");
    EXPECT_EQ(title(merged), "Mail (work)");
    EXPECT_EQ(merged->object("user")->as<String>()->utf8(), "alice");

    // Every field is replaced: what the record lacks is gone.
    auto replacement = entry("E1", zoneID, "Only title");
    auto replaced = modify(database(), {replacement}, {}, Policy::allKeys).saved("E1");
    EXPECT_FALSE(replaced->object("user"));

    // A new record cannot carry a tag the server never gave it.
    auto ghost = Foundation::NSKeyedUnarchiver::unarchivedObject<CKRecord>(
        Foundation::NSKeyedArchiver::archivedData(CKRecord::fromServer("Entry", CKRecord::ID("E9", zoneID), {}, {String("x"), {}, {}}), true));
    EXPECT_EQ(modify(database(), {ghost}, {}, Policy::ifServerRecordUnchanged).error("E9"), CKError::Code::unknownItem);
}

TEST_F(CKModifyRecordsOperationTests, AtomicRequestsSaveAllOfAZoneOrNothing)
{
    CKRecordZone::ID missing("Missing");
    auto bad = Foundation::make<CKRecord>("Bad Type", CKRecord::ID("B1", zoneID));
    auto outcome = modify(database(), {entry("E1", zoneID, "Mail"), bad, entry("M1", missing, "x")});
    EXPECT_EQ(outcome.error("B1"), CKError::Code::invalidArguments);
    EXPECT_EQ(outcome.error("E1"), CKError::Code::batchRequestFailed);
    EXPECT_EQ(outcome.error("M1"), CKError::Code::zoneNotFound);
    EXPECT_TRUE(fetchChanges(database(), zoneID, nullptr).changed.empty());

    auto relaxed = modify(database(), {entry("E1", zoneID, "Mail"), bad}, {}, Policy::changedKeys, false);
    EXPECT_TRUE(relaxed.saves.at("E1").isSuccess());
    EXPECT_EQ(fetchChanges(database(), zoneID, nullptr).changedNames(), std::vector<std::string> {"E1"});
}

TEST_F(CKModifyRecordsOperationTests, RequestsOverTheLimitAreRefusedWhole)
{
    std::vector<std::shared_ptr<CKRecord>> records;
    for (int i = 0; i < 401; ++i)
        records.push_back(entry("E" + std::to_string(i), zoneID, "x"));
    auto outcome = modify(database(), records);
    EXPECT_TRUE(outcome.saves.empty());
    EXPECT_EQ(ckErrorCode(*outcome.result->failureError()), CKError::Code::limitExceeded);
    records.pop_back();
    EXPECT_TRUE(modify(database(), records).result->isSuccess());
}

TEST_F(CKModifyRecordsOperationTests, AssetsAreCopiedIntoTheContainer)
{
    auto source = std::filesystem::path(std::getenv("TMPDIR")) / "attachment.bin";
    TestSupport::writeText(source, "encrypted bytes");
    auto record = Foundation::make<CKRecord>("Attachment", CKRecord::ID("A1", zoneID));
    record->setObject(Foundation::make<CKAsset>(Foundation::URL::fileURLWithPath(source.string())), "file");
    ASSERT_TRUE(modify(database(), {record}).result->isSuccess());
    std::filesystem::remove(source); // the sender's temporary folder is emptied after every sync

    auto fetched = fetchChanges(database(), zoneID, nullptr);
    ASSERT_EQ(fetched.changed.size(), 1u);
    auto asset = *fetched.changed[0]->object("file")->as<std::shared_ptr<CKAsset>>();
    EXPECT_EQ(TestSupport::readText(asset->fileURL()->path().utf8()), "encrypted bytes");

    auto missing = Foundation::make<CKRecord>("Attachment", CKRecord::ID("A2", zoneID));
    missing->setObject(Foundation::make<CKAsset>(Foundation::URL::fileURLWithPath(source.string())), "file");
    EXPECT_EQ(modify(database(), {missing}).error("A2"), CKError::Code::assetFileNotFound);
}

TEST_F(CKModifyRecordsOperationTests, InjectedFailuresReachTheRightItems)
{
    CKSimulation::injectFailure({CKError::Code::quotaExceeded, CKSimulation::Operation::modifyRecords, std::nullopt, 0, 1});
    auto refused = modify(database(), {entry("E1", zoneID, "Mail")});
    EXPECT_TRUE(refused.saves.empty());
    EXPECT_EQ(ckErrorCode(*refused.result->failureError()), CKError::Code::quotaExceeded);
    EXPECT_TRUE(modify(database(), {entry("E1", zoneID, "Mail")}).result->isSuccess());

    CKSimulation::injectFailure({CKError::Code::zoneNotFound, CKSimulation::Operation::any, zoneID, 0, 1});
    auto outcome = modify(database(), {entry("E2", zoneID, "Bank"), entry("D1", CKRecordZone::ID(), "Default")});
    EXPECT_EQ(outcome.error("E2"), CKError::Code::zoneNotFound);
    EXPECT_TRUE(outcome.saves.at("D1").isSuccess());

    CKSimulation::setAccount(std::nullopt);
    EXPECT_EQ(ckErrorCode(*modify(database(), {entry("E3", zoneID, "x")}).result->failureError()), CKError::Code::notAuthenticated);
}

TEST_F(CKModifyRecordsOperationTests, TheContainersFilesAndFoldersAreTheOwnersAlone)
{
    TestSupport::Umask umask(0);
    auto source = std::filesystem::path(std::getenv("TMPDIR")) / "sealed.bin";
    TestSupport::writeText(source, "encrypted bytes");
    std::filesystem::permissions(source, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write | std::filesystem::perms::others_read);
    ASSERT_TRUE(modifyZones(database(), {zoneID}).isSuccess());
    auto record = Foundation::make<CKRecord>("Attachment", CKRecord::ID("A1", zoneID));
    record->setObject(Foundation::make<CKAsset>(Foundation::URL::fileURLWithPath(source.string())), "file");
    ASSERT_TRUE(modify(database(), {record, entry("E1", zoneID, "Mail")}).result->isSuccess());
    std::filesystem::remove(source);
    EXPECT_EQ(TestSupport::entriesOpenToOthers(m_folder / containerIdentifier), std::vector<std::string> {});
}
