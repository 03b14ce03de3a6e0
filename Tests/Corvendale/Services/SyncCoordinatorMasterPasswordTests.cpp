#include "Tests/Corvendale/Services/SyncCoordinatorFixture.hpp"

#include "Shared/Model/Entry.Field.Category.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"

#include "Tests/Support/MainLoop.hpp"

using namespace CorvendaleTests;
using Shared::AuthenticationState;
using SystemField = Shared::Entry::SystemField::ID;

namespace {

// Two installations of the program on one account, as a person runs them: each has its own folders
// (its lock's records among them) and starts without the vault key; the container folder is shared.
class SyncCoordinatorMasterPasswordTests : public SyncCoordinatorFixture {
protected:
    struct Installation {
        std::unique_ptr<ProgramInstallation> program;
        std::shared_ptr<Shared::AuthenticationStore> lock;

        AuthenticationState state() const { return lock->authenticationState(); }
    };

    Installation install(const std::string& name)
    {
        Installation installation;
        installation.program = makeInstallation(name);
        installation.program->cryptor->lock();
        auto& program = *installation.program;
        installation.lock = Foundation::make<Shared::AuthenticationStore>(
            program.userDefaults, program.notificationCenter, nullptr, program.records, program.preferenceStore, nullptr,
            Shared::AppExecutionContext::app(UIKit::UIApplication::shared()),
            Basalwork::File::Location::raw(String((m_folder / name / "AuthenticationStore").string())));
        return installation;
    }

    void TearDown() override
    {
        first = {};
        second = {};
        SyncCoordinatorFixture::TearDown();
    }

    // Enough rounds for a merge made on one side to come back to the other.
    static void syncBoth(Installation& one, Installation& other)
    {
        for (int round = 0; round < 2; ++round) {
            ASSERT_TRUE(one.program->sync().isSuccess());
            ASSERT_TRUE(other.program->sync().isSuccess());
        }
    }

    static std::vector<Shared::Entry> entries(Installation& installation)
    {
        auto all = installation.program->records->allEntries();
        std::sort(all.begin(), all.end(), [](const auto& lhs, const auto& rhs) { return lhs.id.utf8() < rhs.id.utf8(); });
        return all;
    }

    const String password = "correct horse battery staple";
    Installation first;
    Installation second;
};

} // namespace

TEST_F(SyncCoordinatorMasterPasswordTests, ASecondInstallationUnlocksWithTheSameMasterPasswordAndFollowsItsChanges)
{
    first = install("first");
    second = install("second");
    ASSERT_TRUE(first.state().is<AuthenticationState::NoMasterPassword>());
    first.lock->createMasterPassword(password);
    first.lock->finishCreatingMasterPassword();
    first.program->preferenceStore->setDidCompleteAutoFillOnboarding(true);
    first.program->preferenceStore->setDidCompleteBackupOnboarding(true);
    first.program->preferenceStore->setDidCompleteSyncOnboarding(true);
    ASSERT_TRUE(first.state().isAuthenticated());

    // An item with every kind of value.
    auto& records = *first.program->records;
    auto context = records.makeEditingContext();
    auto bank = context->insert(Foundation::UUID().uuidString(), records.vaultIDForNewEntries(), Shared::Entry::Category::login, false);
    context->setText("Bank", SystemField::title, bank);
    context->setText("alice", SystemField::username, bank);
    context->setText("hunter2", SystemField::password, bank);
    context->setText("JBSWY3DPEHPK3PXP", SystemField::totpSecretKey, bank);
    context->setText("https://bank.example", SystemField::website, bank);
    context->setText("Branch on Main Street", SystemField::notes, bank);
    auto section = context->insertSectionAbove(0, Shared::Entry::Section::Template::blank, bank);
    auto pin = context->appendField(section, Shared::Entry::Field::Category::password, bank);
    context->setText("4321", pin, bank);
    context->setFavorite(true, bank);
    context->save();
    auto mail = first.program->addEntry("Mail");
    ASSERT_TRUE(first.program->sync().isSuccess());

    // The second installation learns of the master password with its first fetch, and it opens everything.
    ASSERT_TRUE(second.program->sync().isSuccess());
    ASSERT_TRUE(ProgramInstallation::waitUntil([&] { return second.state().is<AuthenticationState::Locked>(); }))
        << second.state().index();
    second.lock->unlock("not the password");
    EXPECT_FALSE(second.program->cryptor->isUnlocked());
    second.lock->acknowledgeEntryAttempt();
    second.lock->unlock(password);
    ASSERT_TRUE(second.state().isAuthenticated()) << second.state().index();
    EXPECT_EQ(entries(second), entries(first));
    EXPECT_EQ(second.program->records->entry(bank)->password, String("hunter2"));

    // An edit on each side: both end with both.
    TestSupport::advanceClock(10);
    auto mine = first.program->records->makeEditingContext();
    mine->setText("new secret", SystemField::password, bank);
    mine->save();
    auto theirs = second.program->records->makeEditingContext();
    theirs->setText("Moved to the High Street", SystemField::notes, bank);
    theirs->save();
    second.program->records->setFavorite({mail}, true);
    syncBoth(first, second);
    ASSERT_TRUE(ProgramInstallation::waitUntil([&] { return entries(first) == entries(second); }));
    auto merged = *first.program->records->entry(bank);
    EXPECT_EQ(merged.password, String("new secret"));
    EXPECT_EQ(merged.notes, String("Moved to the High Street"));
    EXPECT_TRUE(first.program->records->entry(mail)->isFavorite);

    // A change of the master password on the first reaches the second: the new password opens it there.
    TestSupport::advanceClock(10);
    first.lock->beginChangingMasterPassword();
    first.lock->verifyMasterPasswordToChange(password);
    first.lock->changeMasterPassword("a new and longer master password");
    ASSERT_TRUE(first.state().isAuthenticated());
    ASSERT_TRUE(first.program->sync().isSuccess());
    ASSERT_TRUE(second.program->sync().isSuccess());
    ASSERT_TRUE(ProgramInstallation::waitUntil([&] { return second.state().is<AuthenticationState::MasterPasswordChangedElsewhere>(); }))
        << second.state().index();
    EXPECT_FALSE(second.program->cryptor->isUnlocked());
    second.lock->unlockWithChangedMasterPassword("a new and longer master password");
    ASSERT_TRUE(second.state().isAuthenticated()) << second.state().index();
    EXPECT_EQ(entries(second), entries(first));

    // The old password opens neither any more.
    second.lock->lock(Shared::AuthenticationStore::LockKind::requireMasterPassword, true, false, "test");
    second.lock->unlock(password);
    EXPECT_FALSE(second.program->cryptor->isUnlocked());
}

TEST_F(SyncCoordinatorMasterPasswordTests, AnInstallationThatKnowsTheAccountOffersNoNewMasterPassword)
{
    first = install("first");
    first.lock->createMasterPassword(password);
    first.lock->finishCreatingMasterPassword();
    ASSERT_TRUE(first.program->sync().isSuccess());

    second = install("second");
    ASSERT_TRUE(second.program->sync().isSuccess());
    ASSERT_TRUE(ProgramInstallation::waitUntil([&] { return !second.state().is<AuthenticationState::NoMasterPassword>(); }));
    // Creating one anyway (a screen shown before the fetch) is refused: the account's stays.
    EXPECT_THROW(second.lock->createMasterPassword("another master password"), Foundation::Error);
    second.lock->unlock(password);
    EXPECT_TRUE(second.state().isAuthenticated());
}
