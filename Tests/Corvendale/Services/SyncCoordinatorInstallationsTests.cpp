#include "Tests/Corvendale/Services/SyncCoordinatorFixture.hpp"

#include "Shared/Model/Notification.Name.hpp"

#include "Platform/CloudKit/NotificationNames.hpp"
#include "Platform/CloudKit/PushDelivery.hpp"

#include "Tests/Support/MainLoop.hpp"

using namespace CorvendaleTests;

namespace {

// Two installations of the program on one account: two application-group folders, one container folder.
class SyncCoordinatorInstallationsTests : public SyncCoordinatorFixture {
protected:
    void SetUp() override
    {
        SyncCoordinatorFixture::SetUp();
        first = makeInstallation("first");
        second = makeInstallation("second");
    }
    void TearDown() override
    {
        if (pushHandler)
            CloudKit::PushDelivery::removeHandler(pushHandler);
        CloudKit::CKSimulation::setDeliversPushesForOwnBatches(false);
        first.reset();
        second.reset();
        SyncCoordinatorFixture::TearDown();
    }

    std::unique_ptr<ProgramInstallation> first;
    std::unique_ptr<ProgramInstallation> second;
    std::shared_ptr<Foundation::NSObject> pushHandler;
};

} // namespace

TEST_F(SyncCoordinatorInstallationsTests, AnItemAddedOnOneAppearsOnTheOtherAfterAPush)
{
    first->becomeActive();
    second->becomeActive();
    ASSERT_TRUE(ProgramInstallation::waitUntil([&] {
        return second->coordinator->syncStatus().is<SyncStatus::UpToDate>() && first->coordinator->syncStatus().is<SyncStatus::UpToDate>();
    }));
    auto secondStatuses = second->coordinator->statuses().size();

    // Every installation here is one process: the second hears of the first's batches as a device would,
    // and syncs as its application delegate does with a push.
    CloudKit::CKSimulation::setDeliversPushesForOwnBatches(true);
    pushHandler = CloudKit::PushDelivery::addHandler([&](const auto&) { second->coordinator->sync(); });
    first->addEntry("Mail");
    ASSERT_TRUE(first->sync().isSuccess());
    ASSERT_TRUE(ProgramInstallation::waitUntil([&] { return second->titles() == std::vector<String> {"Mail"}; }));
    // The statuses are recorded on the remote's threads, where another push may start a sync at any time:
    // they are read where the wait saw them end up to date.
    std::vector<SyncStatus> statuses;
    ASSERT_TRUE(ProgramInstallation::waitUntil([&] {
        statuses = second->coordinator->statuses();
        return second->coordinator->syncStatus().is<SyncStatus::UpToDate>() && statuses.size() > secondStatuses
            && statuses.back().is<SyncStatus::UpToDate>();
    }));
    statuses.erase(statuses.begin(), statuses.begin() + static_cast<std::ptrdiff_t>(secondStatuses));
    ASSERT_FALSE(statuses.empty());
    EXPECT_EQ(statuses.front(), SyncStatus::syncing(SyncStatus::Activity::fetching));
    EXPECT_TRUE(statuses.back().is<SyncStatus::UpToDate>());
    EXPECT_EQ(first->coordinator->ckAccountIDAssociatedWithCurrentRecords(), String("_localAccount"));
}

TEST_F(SyncCoordinatorInstallationsTests, ANetworkFailureShowsAndTheNextActivationRecovers)
{
    first->becomeActive();
    ASSERT_TRUE(ProgramInstallation::waitUntil([&] { return first->coordinator->syncStatus().is<SyncStatus::UpToDate>(); }));
    first->addEntry("Bank");

    CloudKit::CKSimulation::injectFailure({CloudKit::CKError::Code::networkUnavailable, CloudKit::CKSimulation::Operation::any, std::nullopt, 0, std::nullopt});
    EXPECT_FALSE(first->sync().isSuccess());
    auto status = first->coordinator->syncStatus();
    ASSERT_TRUE(status.is<SyncStatus::Failed>()) << status.description();
    EXPECT_TRUE(status.as<SyncStatus::Failed>()->lastSuccessfulSyncDate.has_value());

    CloudKit::CKSimulation::removeInjectedFailures();
    TestSupport::advanceClock(61);
    first->becomeActive();
    ASSERT_TRUE(ProgramInstallation::waitUntil([&] { return first->coordinator->syncStatus().is<SyncStatus::UpToDate>(); }));

    second->becomeActive();
    ASSERT_TRUE(ProgramInstallation::waitUntil([&] { return second->titles() == std::vector<String> {"Bank"}; }));
}

TEST_F(SyncCoordinatorInstallationsTests, AnotherAccountAsksToReplaceTheLocalData)
{
    first->becomeActive();
    ASSERT_TRUE(ProgramInstallation::waitUntil([&] { return first->coordinator->syncStatus().is<SyncStatus::UpToDate>(); }));
    auto resets = first->count(Shared::syncCoordinatorUserDidResetAccountRemotelyNotification());

    // The account change starts a sync, which will not mix the two accounts' records.
    CloudKit::CKSimulation::setAccount(String("someoneElse"));
    // The system tells the program's own centre (here, one per installation).
    first->notificationCenter->post(CloudKit::NotificationNames::CKAccountChanged());
    ASSERT_TRUE(ProgramInstallation::waitUntil([&] { return first->coordinator->syncStatus().is<SyncStatus::Failed>(); }));
    EXPECT_TRUE(first->coordinator->syncStatus().as<SyncStatus::Failed>()->failure.requiresReplacingLocalData());
    EXPECT_EQ(*resets, 0);

    // Once the association is reset, the records belong to the new account.
    first->coordinator->resetCKAccountAssociation();
    EXPECT_TRUE(first->sync().isSuccess());
    EXPECT_EQ(first->coordinator->ckAccountIDAssociatedWithCurrentRecords(), String("someoneElse"));
}
