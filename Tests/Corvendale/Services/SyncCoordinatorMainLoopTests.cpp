#include "Tests/Corvendale/Services/SyncCoordinatorFixture.hpp"

#include "Platform/CloudKit/CKContainer.hpp"
#include "Platform/CloudKit/CKDatabase.hpp"
#include "Platform/CloudKit/CKModifyRecordsOperation.hpp"
#include "Platform/CloudKit/CKRecord.hpp"
#include "Platform/Foundation/RunLoop.hpp"

#include "Tests/Support/MainLoop.hpp"

#include <algorithm>
#include <chrono>

using namespace CorvendaleTests;

namespace {

constexpr std::int64_t recordCount = 100000;

// Two installations of one account: the first fills the account, the second's first sync fetches it.
class SyncCoordinatorMainLoopTests : public SyncCoordinatorFixture {
protected:
    void TearDown() override
    {
        first.reset();
        second.reset();
        SyncCoordinatorFixture::TearDown();
    }

    // The account's zone with records of a kind a newer version syncs: the sync fetches, hands over and
    // passes over each as it would an item, without the cost of sealing and opening one, so that a sync of
    // this size fits a test's time under the sanitizers.
    void fillAccount()
    {
        ASSERT_TRUE(first->sync().isSuccess()) << "the first sync makes the zone";
        const auto& zoneID = first->remote->customRecordZoneID();
        const auto& database = first->remote->ckContainer()->privateCloudDatabase();
        for (std::int64_t start = 0; start < recordCount; start += Syncwright::CloudKitRemote::resultLimit) {
            std::vector<std::shared_ptr<CloudKit::CKRecord>> records;
            for (std::int64_t i = start; i < std::min(recordCount, start + Syncwright::CloudKitRemote::resultLimit); ++i) {
                auto record = Foundation::make<CloudKit::CKRecord>(String("FutureRecord"),
                                                                   CloudKit::CKRecordID(String("future-" + std::to_string(i)), zoneID));
                record->setObject(CloudKit::CKRecordValue(String("value " + std::to_string(i))), String("text"));
                records.push_back(std::move(record));
            }
            auto operation = Foundation::make<CloudKit::CKModifyRecordsOperation>(std::move(records), std::nullopt);
            database->add(operation);
            operation->waitUntilFinished();
        }
    }

    std::unique_ptr<ProgramInstallation> first;
    std::unique_ptr<ProgramInstallation> second;
};

} // namespace

// The sync runs on the remote's threads and tells the main thread what it does at every step; the main
// loop goes on turning meanwhile, no turn taking a second, until the sync has brought every record.
TEST_F(SyncCoordinatorMainLoopTests, TheMainLoopTurnsWithinASecondWhileASyncOfAHundredThousandRecordsRuns)
{
    first = makeInstallation("first");
    second = makeInstallation("second");
    fillAccount();

    auto outcome = std::make_shared<std::optional<Foundation::Result<Syncwright::SyncResult>>>();
    second->coordinator->sync(
        Corvendale::SyncCoordinator::SyncResultHandler(Foundation::DispatchQueue::main(), [outcome](auto result) { *outcome = result; }));
    auto& loop = *Foundation::RunLoop::main();
    std::chrono::duration<double> longest {0};
    std::int64_t turnsWhileSyncing = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(5);
    while (!outcome->has_value() && std::chrono::steady_clock::now() < deadline) {
        const auto before = std::chrono::steady_clock::now();
        if (loop.runOnce())
            ++turnsWhileSyncing;
        longest = std::max<std::chrono::duration<double>>(longest, std::chrono::steady_clock::now() - before);
        std::this_thread::yield();
    }
    ASSERT_TRUE(outcome->has_value()) << "the sync ended";
    EXPECT_TRUE((*outcome)->isSuccess());
    EXPECT_TRUE(second->coordinator->syncStatus().is<SyncStatus::UpToDate>()) << second->coordinator->syncStatus().description();
    // The sync told the main thread of its steps, and none of what that asked of it took a second.
    EXPECT_GT(turnsWhileSyncing, 0);
    EXPECT_LT(longest.count(), 1.0) << "the longest turn of the main loop, in seconds";
    ProgramInstallation::waitUntil([&] { return !second->remote->isSyncing(); });
}
