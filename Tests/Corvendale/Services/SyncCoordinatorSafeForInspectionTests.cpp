#include "Tests/Corvendale/Services/SyncCoordinatorFixture.hpp"

#include "Tests/Support/MainLoop.hpp"

using namespace CorvendaleTests;
using InspectionState = Shared::RecordStore::SafeForInspectionState;

namespace {

class SyncCoordinatorSafeForInspectionTests : public SyncCoordinatorFixture {
protected:
    static void syncBoth(ProgramInstallation& one, ProgramInstallation& other)
    {
        for (int round = 0; round < 2; ++round) {
            ASSERT_TRUE(one.sync().isSuccess());
            ASSERT_TRUE(other.sync().isSuccess());
        }
    }
};

} // namespace

TEST_F(SyncCoordinatorSafeForInspectionTests, TheInspectionPasswordOutlivesANewInstallationAndClearedLocalDataAndTheLaterChangeWins)
{
    auto first = makeInstallation("first");
    first->records->setSafeForInspectionPassword(String("for the border"));
    ASSERT_TRUE(first->sync().isSuccess());

    // A new installation's vault has no password of its own to push over the account's.
    auto second = makeInstallation("second");
    syncBoth(*second, *first);
    EXPECT_EQ(second->records->safeForInspectionState(), InspectionState::ready);
    EXPECT_TRUE(second->records->vaultKey(String("for the border")));
    EXPECT_EQ(first->records->safeForInspectionState(), InspectionState::ready);

    // Neither does the fresh vault left by clearing the local data.
    second->remote->stop();
    second->records->deleteAllLocalRecords();
    second->coordinator->resetCKAccountAssociation();
    EXPECT_EQ(second->records->safeForInspectionState(), InspectionState::noPassword);
    syncBoth(*second, *first);
    EXPECT_EQ(second->records->safeForInspectionState(), InspectionState::ready) << "the account's copy came back";
    EXPECT_EQ(first->records->safeForInspectionState(), InspectionState::ready);

    // A change made later on either side reaches the other.
    TestSupport::advanceClock(10);
    second->records->setSafeForInspectionPassword(String("a newer one"));
    syncBoth(*second, *first);
    EXPECT_TRUE(first->records->vaultKey(String("a newer one")));
    EXPECT_FALSE(first->records->vaultKey(String("for the border")));
    TestSupport::advanceClock(10);
    first->records->setSafeForInspectionPassword(std::nullopt);
    syncBoth(*first, *second);
    EXPECT_EQ(second->records->safeForInspectionState(), InspectionState::noPassword);
}
