#include "Tests/Shared/Syncwright/SyncwrightFixture.hpp"

#include "Shared/Syncwright/CloudKitRemoteError.hpp"

#include "Platform/CloudKit/CKError.hpp"
#include "Platform/CloudKit/PushDelivery.hpp"
#include "Platform/Foundation/RunLoop.hpp"
#include "Tests/Support/MainLoop.hpp"

namespace SyncwrightTests {

using CloudKit::CKError;
using CloudKit::CKSimulation;
using Syncwright::SyncResult;
using Failure = Syncwright::SyncStatus::Failure;

namespace {

using Notes = std::map<std::string, std::string>;

class CloudKitRemoteTests : public SyncwrightFixture {
protected:
    static std::optional<Failure> failure(const SyncStatus& status)
    {
        const auto* failed = status.as<SyncStatus::Failed>();
        return failed ? std::optional(failed->failure) : std::nullopt;
    }
    static std::optional<CKError::Code> failureCode(const SyncStatus& status)
    {
        auto kind = failure(status);
        const auto* error = kind ? kind->as<Failure::Error>() : nullptr;
        return error ? CloudKit::ckErrorCode(*error->error) : std::nullopt;
    }
    void addNotes(Installation& installation, int count, const std::string& prefix = "note-")
    {
        installation.edit([&](auto& context) {
            for (int index = 0; index < count; ++index)
                insertNote(context, String(prefix + std::to_string(index)), String("text " + std::to_string(index)));
        });
    }
};

TEST_F(CloudKitRemoteTests, AddedEditedAndDeletedNotesReachTheOtherInstallation)
{
    first->add("a", "Alpha");
    first->add("b", "Bravo");
    first->add("c", "Charlie");
    ASSERT_TRUE(first->sync().isSuccess());
    EXPECT_EQ(first->locallyMarked(), 0);
    ASSERT_EQ(second->sync().get(), SyncResult::synced);
    EXPECT_EQ(second->notes(), (Notes {{"a", "Alpha"}, {"b", "Bravo"}, {"c", "Charlie"}}));

    first->setText("a", "Alpha 2");
    first->deleteLocally("b");
    ASSERT_TRUE(first->sync().isSuccess());
    ASSERT_TRUE(second->sync().isSuccess());
    EXPECT_EQ(second->notes(), (Notes {{"a", "Alpha 2"}, {"c", "Charlie"}}));

    second->setText("c", "Charlie 2");
    ASSERT_TRUE(second->sync().isSuccess());
    ASSERT_TRUE(first->sync().isSuccess());
    EXPECT_EQ(first->notes(), second->notes());
    EXPECT_EQ(first->notes(), (Notes {{"a", "Alpha 2"}, {"c", "Charlie 2"}}));
    // The deleted note is gone from the store, not only hidden.
    EXPECT_EQ(first->context->performAndWait([&] { return first->context->fetch(CoreData::NSFetchRequest<Note>()).size(); }), 2u);

    auto status = second->delegate->lastStatus();
    ASSERT_TRUE(status.is<SyncStatus::UpToDate>());
    EXPECT_EQ(second->remote->mostRecentSuccessfulSyncDate(), status.as<SyncStatus::UpToDate>()->date);
    EXPECT_TRUE(second->remote->mostRecentCompletedFetchDate().has_value());
    std::lock_guard lock(second->delegate->mutex);
    EXPECT_EQ(second->delegate->statuses.front(), SyncStatus::syncing(SyncStatus::Activity::fetching));
}

TEST_F(CloudKitRemoteTests, APushFromOneInstallationMakesTheOtherFetch)
{
    CKSimulation::setDeliversPushesForOwnBatches(true);
    ASSERT_TRUE(second->sync().isSuccess());
    // As the program's delegate does with a remote notification: the second installation syncs.
    auto handler = CloudKit::PushDelivery::addHandler([&](const auto&) {
        second->remote->sync(Foundation::DispatchQueue::global(), [&](const auto&) {
            Foundation::DispatchQueue::main()->async([&] {
                if (second->notes().contains("a"))
                    Foundation::RunLoop::main()->stop();
            });
        });
    });
    first->add("a", "Alpha");
    ASSERT_TRUE(first->sync().isSuccess());
    Foundation::RunLoop::main()->run();
    second->remote->stop();
    CloudKit::PushDelivery::removeHandler(handler);
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(second->notes(), (Notes {{"a", "Alpha"}}));
}

TEST_F(CloudKitRemoteTests, MoreRecordsThanALimitGoOutInRoundsOfOneSync)
{
    addNotes(*first, 850);
    ASSERT_TRUE(first->sync().isSuccess());
    EXPECT_EQ(first->locallyMarked(), 0);
    EXPECT_GE(first->delegate->pushRounds, 3);
    ASSERT_TRUE(second->sync().isSuccess());
    EXPECT_EQ(second->notes().size(), 850u);

    first->edit([&](auto& context) {
        for (const auto& note : context.fetch(CoreData::NSFetchRequest<Note>()))
            note->markLocallyDeleted();
    });
    ASSERT_TRUE(first->sync().isSuccess());
    EXPECT_EQ(first->locallyMarked(), 0);
    ASSERT_TRUE(second->sync().isSuccess());
    EXPECT_TRUE(second->notes().empty());
}

TEST_F(CloudKitRemoteTests, AFailedPushKeepsTheMarksForTheNextSync)
{
    first->add("a", "Alpha");
    CKSimulation::injectFailure({CKError::Code::networkUnavailable, CKSimulation::Operation::modifyRecords, std::nullopt, 0, 1});
    auto result = first->sync();
    ASSERT_TRUE(result.isFailure());
    EXPECT_EQ(failureCode(first->delegate->lastStatus()), CKError::Code::networkUnavailable);
    EXPECT_EQ(first->locallyMarked(), 1);

    ASSERT_TRUE(first->sync().isSuccess());
    EXPECT_EQ(first->locallyMarked(), 0);
    ASSERT_TRUE(second->sync().isSuccess());
    EXPECT_EQ(second->notes(), (Notes {{"a", "Alpha"}}));
}

TEST_F(CloudKitRemoteTests, AnInterruptedFetchResumesFromItsTokenWithoutDuplicates)
{
    addNotes(*first, 600);
    ASSERT_TRUE(first->sync().isSuccess());

    CKSimulation::injectFailure({CKError::Code::networkFailure, CKSimulation::Operation::fetchRecordZoneChanges, std::nullopt, 500, 1});
    ASSERT_TRUE(second->sync().isFailure());
    auto partly = second->notes().size();
    EXPECT_GT(partly, 0u);
    EXPECT_LT(partly, 600u);

    ASSERT_TRUE(second->sync().isSuccess());
    EXPECT_EQ(second->notes().size(), 600u);
    std::lock_guard lock(second->delegate->mutex);
    EXPECT_EQ(second->delegate->deliveries.size(), 600u);
    for (const auto& [name, count] : second->delegate->deliveries)
        EXPECT_EQ(count, 1) << name;
}

TEST_F(CloudKitRemoteTests, AConflictingSaveIsMergedAndPushedInTheSameSync)
{
    first->add("a", "Alpha");
    ASSERT_TRUE(first->sync().isSuccess());
    ASSERT_TRUE(second->sync().isSuccess());

    second->setText("a", "Second's");
    first->setText("a", "First's");
    // The first installation's change reaches the server between the second's fetch and push.
    second->delegate->beforeGivingModifiedRecords = [&, once = true]() mutable {
        if (std::exchange(once, false)) {
            ASSERT_TRUE(first->sync().isSuccess());
        }
    };
    ASSERT_TRUE(second->sync().isSuccess());
    EXPECT_EQ(second->locallyMarked(), 0);
    ASSERT_TRUE(first->sync().isSuccess());
    EXPECT_EQ(first->notes(), (Notes {{"a", "Second's"}}));
}

TEST_F(CloudKitRemoteTests, CancellingEndsTheSyncIdleAndTheNextOneCompletes)
{
    addNotes(*first, 500);
    ASSERT_TRUE(first->sync().isSuccess());
    second->delegate->beforeApplyingFetchedRound = [&] { second->remote->cancel(); };
    ASSERT_EQ(second->sync().get(), SyncResult::skipped);
    EXPECT_TRUE(second->delegate->lastStatus().is<SyncStatus::Idle>());

    second->delegate->beforeApplyingFetchedRound = nullptr;
    ASSERT_EQ(second->sync().get(), SyncResult::synced);
    EXPECT_EQ(second->notes().size(), 500u);
}

TEST_F(CloudKitRemoteTests, SyncsAskedForWhileOneRunsFollowIt)
{
    first->add("a", "Alpha");
    std::promise<Foundation::Result<SyncResult>> followed;
    first->delegate->beforeGivingModifiedRecords = [&, once = true]() mutable {
        if (!std::exchange(once, false))
            return;
        // A change made and a sync asked for while this one runs.
        first->add("b", "Bravo");
        first->remote->sync(Foundation::DispatchQueue::global(), [&](const auto& result) { followed.set_value(result); });
    };
    ASSERT_TRUE(first->sync().isSuccess());
    ASSERT_TRUE(followed.get_future().get().isSuccess());
    EXPECT_EQ(first->locallyMarked(), 0);
}

TEST_F(CloudKitRemoteTests, ZoneResetsAndAccountChangesEndWithTheirFailures)
{
    first->add("a", "Alpha");
    ASSERT_TRUE(first->sync().isSuccess());

    CKSimulation::injectFailure({CKError::Code::userDeletedZone, CKSimulation::Operation::fetchRecordZoneChanges, Syncwright::customRecordZoneID(), 0, 1});
    ASSERT_TRUE(first->sync().isFailure());
    EXPECT_EQ(failure(first->delegate->lastStatus()), Failure::customRecordZoneDeletedByUser());
    {
        std::lock_guard lock(first->delegate->mutex);
        EXPECT_EQ(first->delegate->deletedZones, std::vector {Syncwright::customRecordZoneID()});
    }

    CKSimulation::injectFailure({CKError::Code::zoneNotFound, CKSimulation::Operation::fetchRecordZoneChanges, Syncwright::customRecordZoneID(), 0, 1});
    ASSERT_TRUE(first->sync().isFailure());
    EXPECT_EQ(failure(first->delegate->lastStatus()), Failure::customRecordZoneNotFound());

    // Another installation deletes the zone: the records this one synced were reset.
    std::promise<Foundation::Result<void>> deleted;
    second->remote->deleteRemoteData(Foundation::DispatchQueue::global(), [&](const auto& result) { deleted.set_value(result); });
    ASSERT_TRUE(deleted.get_future().get().isSuccess());
    ASSERT_TRUE(first->sync().isFailure());
    EXPECT_EQ(failure(first->delegate->lastStatus()), Failure::customRecordZoneDeleted());
    EXPECT_TRUE(failure(first->delegate->lastStatus())->isRecordsResetInICloud());
    EXPECT_EQ(first->notes(), (Notes {{"a", "Alpha"}}));
    {
        std::lock_guard lock(first->delegate->mutex);
        EXPECT_EQ(first->delegate->deletedZones.size(), 3u);
    }
    // The installation that deleted it starts afresh.
    ASSERT_TRUE(second->sync().isSuccess());

    // The local records belong to the account that was signed in when they synced.
    first->delegate->accountOfRecords = String("_localAccount");
    CKSimulation::setAccount(String("someoneElse"));
    ASSERT_TRUE(first->sync().isFailure());
    EXPECT_EQ(failure(first->delegate->lastStatus()), Failure::iCloudAccountChanged("_localAccount", "someoneElse"));
    EXPECT_EQ(first->remote->ckAccountIdentifier(), String("someoneElse"));

    CKSimulation::setAccount(std::nullopt);
    EXPECT_EQ(first->sync().get(), SyncResult::skipped);
    EXPECT_TRUE(first->delegate->lastStatus().is<SyncStatus::Disabled>());
    EXPECT_EQ(first->remote->ckAccountIdentifier(), std::nullopt);
}

TEST_F(CloudKitRemoteTests, RecordsSharingAnIdentifierStopThePush)
{
    first->add("a", "One");
    first->add("a", "Two");
    ASSERT_TRUE(first->sync().isFailure());
    EXPECT_EQ(failure(first->delegate->lastStatus()), Failure::multipleRecordsUsingTheSameID("a"));
    EXPECT_EQ(first->locallyMarked(), 2);
}

} // namespace

} // namespace SyncwrightTests
