#include "Tests/Corvendale/App/MainCoordinatorFixture.hpp"

#include "Corvendale/Screens/Items/EntrySelectionC.hpp"

#include "Shared/Stores/PreferenceStore.hpp"

using Foundation::String;

namespace {

// The unlocked window and the item picker while the vault is open in the safe-for-inspection mode.
class SafeForInspectionLists : public CorvendaleTests::MainCoordinatorFixture {
protected:
    void TearDown() override
    {
        unlockWith(CorvendaleTests::masterPassword);
        store->setSafeForInspectionPassword(std::nullopt);
        store->permanentlyDelete({forum, bank});
        MainCoordinatorFixture::TearDown();
    }
    void unlockWith(const char* password)
    {
        const auto& lock = CorvendaleTests::inMemoryDependencies().authenticationStore;
        lock->lock(Shared::AuthenticationStore::LockKind::requireMasterPassword, true, false, "test");
        settle();
        lock->unlock(String(password));
        settle();
        ASSERT_TRUE(lock->authenticationState().isAuthenticated());
    }

    String forum;
    String bank;
};

TEST_F(SafeForInspectionLists, OnlyTheSafeItemsAreListedSearchedAndPickedUntilTheMasterPasswordReturns)
{
    forum = add("Forum");
    bank = add("Bank forum login");
    auto context = store->makeEditingContext();
    context->setSafeForInspection(true, forum);
    context->save();
    store->setSafeForInspectionPassword(String("for the border"));
    show();
    ASSERT_EQ(shown().size(), 2U);
    select({bank});

    unlockWith("for the border");
    EXPECT_TRUE(CorvendaleTests::inMemoryDependencies().preferenceStore->isSafeForInspectionModeActivated());
    EXPECT_EQ(shown(), std::vector<String> {forum}) << "the list asked again";
    EXPECT_TRUE(selected().empty()) << "the hidden item left the selection";
    coordinator->entriesVC()->setSearchText(String("forum"));
    settle();
    EXPECT_EQ(shown(), std::vector<String> {forum}) << "a search finds nothing hidden";
    coordinator->entriesVC()->setSearchText(String());
    auto picker = Foundation::make<Corvendale::EntrySelectionC>(*Foundation::URL::string(String("otpauth://totp/Forum?secret=JBSWY3DPEHPK3PXP")), std::nullopt);
    coordinator->present(picker, false);
    settle();
    EXPECT_EQ(picker->entriesVC()->shownEntryIDs(), std::vector<String> {forum}) << "nor does the picker";
    coordinator->dismiss(false);
    settle();

    unlockWith(CorvendaleTests::masterPassword);
    EXPECT_FALSE(CorvendaleTests::inMemoryDependencies().preferenceStore->isSafeForInspectionModeActivated());
    EXPECT_EQ(shown().size(), 2U) << "the master password brings back the rest";
}

} // namespace
