#include "Tests/CloudKit/CloudKitFixture.hpp"

#include "Platform/CloudKit/CKFetchDatabaseChangesOperation.hpp"

using namespace CloudKitTests;

namespace {

struct DatabaseChanges {
    std::vector<std::string> changed;
    std::vector<std::string> deleted;
    std::shared_ptr<CKServerChangeToken> token;
    Foundation::ErrorPtr error;
};

DatabaseChanges fetchDatabaseChanges(const std::shared_ptr<CKDatabase>& database, std::shared_ptr<CKServerChangeToken> token)
{
    DatabaseChanges changes;
    auto operation = Foundation::make<CKFetchDatabaseChangesOperation>(std::move(token));
    operation->setRecordZoneWithIDChangedBlock([&](const CKRecordZone::ID& id) { changes.changed.push_back(id.zoneName().utf8()); });
    operation->setRecordZoneWithIDWasDeletedBlock([&](const CKRecordZone::ID& id) { changes.deleted.push_back(id.zoneName().utf8()); });
    operation->setFetchDatabaseChangesResultBlock([&](const auto& result) {
        if (result.isSuccess())
            changes.token = result.successValue()->serverChangeToken;
        else
            changes.error = result.failureError();
    });
    database->add(operation);
    operation->waitUntilFinished();
    return changes;
}

using Names = std::vector<std::string>;

TEST_F(CloudKitFixture, DatabaseChangesNameTheZonesChangedAndDeletedSinceTheToken)
{
    const CKRecordZone::ID other("Other");
    ASSERT_TRUE(modifyZones(database(), {zoneID, other}).isSuccess());
    auto start = fetchDatabaseChanges(database(), nullptr);
    EXPECT_EQ(start.changed, (Names {"CustomRecordZone", "Other"}));
    EXPECT_TRUE(start.deleted.empty());

    ASSERT_TRUE(modify(database(), {entry("E1", zoneID, "title")}).result->isSuccess());
    auto changed = fetchDatabaseChanges(database(), start.token);
    EXPECT_EQ(changed.changed, Names {"CustomRecordZone"});
    EXPECT_TRUE(fetchDatabaseChanges(database(), changed.token).changed.empty());

    // Deleted and made again by another device: both show.
    ASSERT_TRUE(modifyZones(database(), {}, {zoneID}).isSuccess());
    ASSERT_TRUE(modifyZones(database(), {zoneID}).isSuccess());
    auto remade = fetchDatabaseChanges(database(), changed.token);
    EXPECT_EQ(remade.deleted, Names {"CustomRecordZone"});
    EXPECT_EQ(remade.changed, Names {"CustomRecordZone"});
    // Without a token nothing counts as deleted.
    EXPECT_TRUE(fetchDatabaseChanges(database(), nullptr).deleted.empty());

    auto zoneToken = fetchChanges(database(), zoneID, nullptr).token();
    EXPECT_EQ(ckErrorCode(*fetchDatabaseChanges(database(), zoneToken).error), CKError::Code::changeTokenExpired);
    EXPECT_EQ(fetchChanges(database(), zoneID, remade.token).zoneError(), CKError::Code::changeTokenExpired);
}

} // namespace
