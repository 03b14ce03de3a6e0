#include "Tests/CloudKit/CloudKitFixture.hpp"

#include "Platform/CloudKit/CKNotification.hpp"
#include "Platform/CloudKit/DatabaseFolder.hpp"
#include "Platform/CloudKit/LongLivedJournal.hpp"
#include "Platform/CloudKit/NotificationNames.hpp"
#include "Platform/CloudKit/PushDelivery.hpp"
#include "Platform/CloudKit/PushWatcher.hpp"
#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/RunLoop.hpp"
#include "Tests/Support/Files.hpp"
#include "Tests/Support/MainLoop.hpp"

#include <future>
#include <sys/wait.h>
#include <unistd.h>

using namespace CloudKitTests;
using Foundation::String;

namespace {

class CKContainerTests : public CloudKitFixture {
protected:
    std::pair<CKAccountStatus, Foundation::ErrorPtr> accountStatus()
    {
        std::promise<std::pair<CKAccountStatus, Foundation::ErrorPtr>> promise;
        CKContainer::withIdentifier(containerIdentifier)->accountStatus([&](CKAccountStatus status, Foundation::ErrorPtr error) {
            promise.set_value({status, error});
        });
        return promise.get_future().get();
    }
    std::optional<std::string> accountIdentifier()
    {
        std::promise<std::optional<std::string>> promise;
        CKContainer::withIdentifier(containerIdentifier)->fetchUserRecordID([&](std::optional<CKRecord::ID> id, Foundation::ErrorPtr) {
            promise.set_value(id ? std::optional(id->recordName().utf8()) : std::nullopt);
        });
        return promise.get_future().get();
    }
    std::vector<String> longLivedOperationIDs()
    {
        std::promise<std::vector<String>> promise;
        CKContainer::withIdentifier(containerIdentifier)->fetchAllLongLivedOperationIDs([&](auto ids, Foundation::ErrorPtr) {
            promise.set_value(ids.value_or(std::vector<String> {}));
        });
        return promise.get_future().get();
    }
};

} // namespace

TEST_F(CKContainerTests, TheDefaultContainerIsTheBundlesFirst)
{
    auto previous = Foundation::Bundle::main();
    Foundation::Bundle::setMain(Foundation::Bundle::withInfoDictionary(Foundation::Bundle::InfoDictionary {
        {"CFBundleIdentifier", "com.example.app"},
        {"com.apple.developer.icloud-container-identifiers", Foundation::PropertyListValue::Array {"iCloud.com.example.shared"}}}));
    EXPECT_EQ(CKContainer::default_()->containerIdentifier().utf8(), "iCloud.com.example.shared");
    Foundation::Bundle::setMain(Foundation::Bundle::withInfoDictionary(Foundation::Bundle::InfoDictionary {{"CFBundleIdentifier", "com.example.app"}}));
    EXPECT_EQ(CKContainer::default_()->containerIdentifier().utf8(), "iCloud.com.example.app");
    Foundation::Bundle::setMain(previous);
}

TEST_F(CKContainerTests, TheSignedInAccountDecidesStatusIdentifierAndData)
{
    EXPECT_EQ(accountStatus().first, CKAccountStatus::available);
    EXPECT_EQ(accountIdentifier(), "_localAccount");
    ASSERT_TRUE(modifyZones(database(), {zoneID}).isSuccess());
    ASSERT_TRUE(modify(database(), {entry("E1", zoneID, "Mail")}).result->isSuccess());

    int changes = 0;
    auto observer = Foundation::NotificationCenter::defaultCenter()->addObserver(
        NotificationNames::CKAccountChanged(), nullptr, nullptr, [&](const Foundation::Notification&) { ++changes; });
    CKSimulation::setAccount(String("_bob"));
    CKSimulation::setAccount(String("_bob"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(accountIdentifier(), "_bob");
    // Another account has a private database of its own.
    EXPECT_EQ(fetchChanges(database(), zoneID, nullptr).zoneError(), CKError::Code::zoneNotFound);

    CKSimulation::setAccount(std::nullopt);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(accountStatus().first, CKAccountStatus::noAccount);
    EXPECT_FALSE(accountIdentifier());
    Foundation::NotificationCenter::defaultCenter()->removeObserver(observer);
}

TEST_F(CKContainerTests, NotificationsAreMadeOnlyFromTheServicesPayloads)
{
    auto notification = CKNotification::fromRemoteNotificationDictionary(PushWatcher::payload(containerIdentifier));
    ASSERT_TRUE(notification);
    EXPECT_EQ(notification->notificationType(), CKNotification::NotificationType::database);
    EXPECT_EQ(notification->containerIdentifier()->utf8(), containerIdentifier);
    EXPECT_EQ(std::dynamic_pointer_cast<CKDatabaseNotification>(notification)->databaseScope(), CKDatabase::Scope::private_);

    using Dictionary = Foundation::PropertyListValue::Dictionary;
    EXPECT_FALSE(CKNotification::fromRemoteNotificationDictionary(Dictionary {{"aps", Dictionary {{"alert", "Hello"}}}}));
    EXPECT_FALSE(CKNotification::fromRemoteNotificationDictionary(Dictionary {{"ck", "not a dictionary"}}));
    EXPECT_FALSE(CKNotification::fromRemoteNotificationDictionary(Dictionary {{"ck", Dictionary {{"container", "x"}}}}));
}

TEST_F(CKContainerTests, ABatchFromAnotherDeviceIsPushedOnTheMainQueue)
{
    std::vector<std::shared_ptr<CKNotification>> pushes;
    auto token = PushDelivery::addHandler([&](const Foundation::PropertyListValue::Dictionary& userInfo) {
        pushes.push_back(CKNotification::fromRemoteNotificationDictionary(userInfo));
        Foundation::RunLoop::main()->stop();
    });
    ASSERT_TRUE(modifyZones(database(), {zoneID}).isSuccess()); // this process's own change: no push
    // Another device's batch arrives, as a file-sync tool would put it in place.
    auto other = batchesFolder() / (std::string(32, 'c') + "-1.batch");
    TestSupport::writeText(batchesFolder() / ".incoming", "{}");
    std::filesystem::rename(batchesFolder() / ".incoming", other);
    Foundation::RunLoop::main()->run();
    TestSupport::runMainLoopUntilIdle();
    PushDelivery::removeHandler(token);

    ASSERT_EQ(pushes.size(), 1u);
    ASSERT_TRUE(pushes[0]);
    EXPECT_EQ(pushes[0]->containerIdentifier()->utf8(), containerIdentifier);
}

TEST_F(CKContainerTests, ALongLivedSaveOutlivesTheProcessThatAddedIt)
{
    ASSERT_TRUE(modifyZones(database(), {zoneID}).isSuccess());
    auto folder = DatabaseFolder::open(containerIdentifier, "_localAccount");

    // The extension queues the save and is ended before it runs.
    auto operation = Foundation::make<CKModifyRecordsOperation>(std::vector {entry("E1", zoneID, "Used today")}, std::nullopt);
    operation->setSavePolicy(CKModifyRecordsOperation::RecordSavePolicy::changedKeys);
    operation->configuration()->setIsLongLived(true);
    pid_t child = ::fork();
    if (child == 0) {
        LongLivedJournal::write(*folder, *operation);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(longLivedOperationIDs(), std::vector<String> {operation->operationID()});

    std::promise<std::shared_ptr<CKOperation>> kept;
    CKContainer::withIdentifier(containerIdentifier)->fetchLongLivedOperation(
        operation->operationID(), [&](std::shared_ptr<CKOperation> found, Foundation::ErrorPtr) { kept.set_value(found); });
    auto resumed = std::dynamic_pointer_cast<CKModifyRecordsOperation>(kept.get_future().get());
    ASSERT_TRUE(resumed);
    EXPECT_EQ(resumed->recordsToSave().at(0)->changedKeys().size(), 1u);

    // The next process to use the database writes it, once.
    auto fetched = fetchChanges(database(), zoneID, nullptr);
    ASSERT_EQ(fetched.changedNames(), std::vector<std::string> {"E1"});
    EXPECT_TRUE(longLivedOperationIDs().empty());
    std::optional<Foundation::Result<void>> result;
    resumed->setModifyRecordsResultBlock([&](const auto& outcome) { result = outcome; });
    database()->add(resumed);
    resumed->waitUntilFinished();
    EXPECT_TRUE(result->isSuccess());
    EXPECT_TRUE(fetchChanges(database(), zoneID, fetched.token()).changed.empty());
}

TEST_F(CKContainerTests, ACancelledOperationEndsWithItsError)
{
    auto operation = Foundation::make<CKFetchRecordZoneChangesOperation>(std::vector {zoneID});
    std::optional<Foundation::Result<void>> result;
    operation->setFetchRecordZoneChangesResultBlock([&](const auto& outcome) { result = outcome; });
    operation->cancel();
    database()->add(operation);
    operation->waitUntilFinished();
    EXPECT_EQ(ckErrorCode(*result->failureError()), CKError::Code::operationCancelled);
}
