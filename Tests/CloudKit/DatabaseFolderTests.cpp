#include "Tests/CloudKit/CloudKitFixture.hpp"

#include "Tests/Support/Files.hpp"

#include "Platform/CloudKit/ChangeBatch.hpp"
#include "Platform/CloudKit/DatabaseFolder.hpp"
#include "Platform/Foundation/FileIO.hpp"

#include <algorithm>
#include <map>

using namespace CloudKitTests;
using Foundation::String;

namespace {

// The folder keeps each record's values in the batch files and reads them when it hands the record out:
// files that change or go in between must never give a record values it does not have.
class DatabaseFolderTests : public CloudKitFixture {
protected:
    void SetUp() override
    {
        CloudKitFixture::SetUp();
        ASSERT_TRUE(modifyZones(database(), {zoneID}).isSuccess());
    }

    // The batch file that saved the record.
    std::string batchSaving(const std::string& recordName) const
    {
        for (const auto& name : TestSupport::entryNames(batchesFolder())) {
            for (const auto& change : read(name).changes) {
                if (change.recordName == recordName)
                    return name;
            }
        }
        return {};
    }
    ChangeBatch read(const std::string& name) const
    {
        return ChangeBatch::decode(Foundation::FileIO::readFile((batchesFolder() / name).string()), name, containerIdentifier,
                                   "_localAccount", {});
    }
    // As a sync tool puts a file in place: written beside it and renamed over it.
    void replace(const std::string& name, const std::string& text) const
    {
        TestSupport::writeText(batchesFolder() / ".incoming", text);
        std::filesystem::rename(batchesFolder() / ".incoming", batchesFolder() / name);
    }
    static std::map<std::string, std::string> titles(const std::vector<std::shared_ptr<CKRecord>>& records)
    {
        std::map<std::string, std::string> titles;
        for (const auto& record : records)
            titles[record->recordID().recordName().utf8()] = record->object("title")->as<String>()->utf8();
        return titles;
    }
    static std::map<std::string, std::string> titles(const std::vector<std::pair<CKRecordID, Foundation::Result<std::shared_ptr<CKRecord>>>>& results)
    {
        std::vector<std::shared_ptr<CKRecord>> records;
        for (const auto& [id, result] : results) {
            EXPECT_TRUE(result.isSuccess()) << id.recordName().utf8();
            if (result.isSuccess())
                records.push_back(*result.successValue());
        }
        return titles(records);
    }
};

} // namespace

TEST_F(DatabaseFolderTests, ABatchReplacedSinceItWasReadGivesOnlyWhatItNowHolds)
{
    ASSERT_TRUE(modify(database(), {entry("E0", zoneID, "first 0"), entry("E1", zoneID, "first 1")}).result->isSuccess());
    auto name = batchSaving("E0");
    ASSERT_FALSE(name.empty());
    auto fetched = fetchChanges(database(), zoneID, nullptr);
    EXPECT_EQ(titles(fetched.changed), (std::map<std::string, std::string> {{"E0", "first 0"}, {"E1", "first 1"}}));

    // The same text written anew (a new file in its place) reads as before, without an error.
    replace(name, TestSupport::readText(batchesFolder() / name));
    auto same = fetchChanges(database(), zoneID, nullptr);
    ASSERT_TRUE(same.result->isSuccess());
    EXPECT_EQ(titles(same.changed), (std::map<std::string, std::string> {{"E0", "first 0"}, {"E1", "first 1"}}));
    // Read again as the file it now is: nothing changed for a token that saw it.
    auto after = fetchChanges(database(), zoneID, same.token());
    EXPECT_TRUE(after.result->isSuccess());
    EXPECT_TRUE(after.changed.empty());

    // Other text under the same name, its changes in the other order: each record's values are where the
    // other's were. No record may arrive with the other's values; a fetch that cannot tell fails its
    // zone before the round's token, and the next one reads the file as it is now.
    auto batch = read(name);
    std::reverse(batch.changes.begin(), batch.changes.end());
    for (auto& change : batch.changes)
        change.fields["title"] = CKRecordValue(String("second " + change.recordName.substr(1)));
    replace(name, std::string(batch.encoded(containerIdentifier, "_localAccount", {}).view()));
    auto replaced = fetchChanges(database(), zoneID, nullptr);
    if (!replaced.result->isSuccess()) {
        EXPECT_EQ(replaced.zoneError(), CKError::Code::internalError);
        EXPECT_TRUE(replaced.changed.empty());
        EXPECT_TRUE(replaced.tokenUpdates.empty());
        replaced = fetchChanges(database(), zoneID, nullptr);
    }
    ASSERT_TRUE(replaced.result->isSuccess());
    EXPECT_EQ(titles(replaced.changed), (std::map<std::string, std::string> {{"E0", "second 0"}, {"E1", "second 1"}}));
    // A save checked against the record reads the new text too.
    auto saved = modify(database(), {entry("E2", zoneID, "third")});
    ASSERT_TRUE(saved.result->isSuccess());
    EXPECT_EQ(titles(fetchChanges(database(), zoneID, nullptr).changed).at("E1"), "second 1");
}

TEST_F(DatabaseFolderTests, ARoundMadeBeforeACompactionIsReadFromTheSnapshot)
{
    auto folder = DatabaseFolder::open(containerIdentifier, "_localAccount");
    ASSERT_TRUE(modify(database(), {entry("E0", zoneID, "kept 0"), entry("E1", zoneID, "kept 1")}).result->isSuccess());
    auto saving = batchSaving("E0");
    auto early = folder->fetchChanges(zoneID, nullptr, 0, true);
    ASSERT_EQ(early.rounds.size(), 1u);

    // Enough saves for a snapshot; this installation is the only one, so the batches it covers go at once.
    for (int i = 0; i < 14; ++i)
        ASSERT_TRUE(modify(database(), {entry("F" + std::to_string(i), zoneID, "filler")}).result->isSuccess());
    ASSERT_FALSE(std::filesystem::exists(batchesFolder() / saving));
    EXPECT_EQ(titles(folder->changedRecords(early.rounds[0])), (std::map<std::string, std::string> {{"E0", "kept 0"}, {"E1", "kept 1"}}));

    // A record changed since its round was made, and the round's files gone: the round cannot be
    // delivered as it was, and is not delivered at all.
    auto later = folder->fetchChanges(zoneID, nullptr, 0, true);
    auto snapshot = batchSaving("E0");
    ASSERT_NE(snapshot, saving);
    ASSERT_TRUE(modify(database(), {entry("E1", zoneID, "changed")}).result->isSuccess());
    constexpr int edits = static_cast<int>(DatabaseFolder::changesBeforeSnapshot) + 2;
    for (int i = 0; i < edits; ++i)
        ASSERT_TRUE(modify(database(), {entry("F0", zoneID, "edit " + std::to_string(i))}).result->isSuccess());
    ASSERT_FALSE(std::filesystem::exists(batchesFolder() / snapshot));
    try {
        folder->changedRecords(later.rounds[0]);
        ADD_FAILURE() << "a round read from files that went was delivered";
    } catch (const CKError& error) {
        EXPECT_EQ(error.errorCode(), CKError::Code::internalError);
    }
    auto fresh = fetchChanges(database(), zoneID, nullptr);
    ASSERT_TRUE(fresh.result->isSuccess());
    auto now = titles(fresh.changed);
    EXPECT_EQ(now.at("E0"), "kept 0");
    EXPECT_EQ(now.at("E1"), "changed");
    EXPECT_EQ(now.at("F0"), "edit " + std::to_string(edits - 1));
}
