#include "Tests/Shared/Stores/RecordStoreFixture.hpp"

#include "Tests/Support/MainLoop.hpp"

#include "Shared/Stores/AuthenticationStore.hpp"

#include "Platform/Foundation/Logger.hpp"
#include "Platform/LocalAuthentication/LAContext.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <sqlite3.h>
#include <sys/resource.h>

using namespace Shared;
using State = AuthenticationState;
using Lock = AuthenticationStore::LockKind;

namespace {

constexpr const char* masterPassword = "correct horse battery";
constexpr const char* newPassword = "a brand new passphrase";

// While it lives, no file of the process grows past `bytes`: a write beyond fails as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_limit);
        rlimit limited = m_limit;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_limit);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_limit {};
    void (*m_handler)(int) = nullptr;
};

// The lock over the record store of one process, as the program builds them, with a vault of items.
class AuthenticationStoreVaultTests : public testing::Test {
protected:
    void SetUp() override
    {
        SharedTests::removeApplicationGroup();
        Foundation::Logger::setCaptureSink([](const Foundation::LogRecord&) {});
        vault = std::make_unique<SharedTests::Vault>();
        records = SharedTests::openRecordStore(*vault, SharedTests::productionStoreType(), 0);
        lock = Foundation::make<AuthenticationStore>(vault->userDefaults, vault->notificationCenter, nullptr, records, vault->preferenceStore, nullptr,
                                                     AppExecutionContext::extension());
        lock->createMasterPassword(masterPassword);
        lock->finishCreatingMasterPassword();
        vault->preferenceStore->setDidCompleteAutoFillOnboarding(true);
        vault->preferenceStore->setDidCompleteBackupOnboarding(true);
        vault->preferenceStore->setDidCompleteSyncOnboarding(true);
        ASSERT_TRUE(lock->authenticationState().isAuthenticated());
        bank = SharedTests::addEntry(*records, "Bank", "hunter2");
        mail = SharedTests::addEntry(*records, "Mail", "swordfish");
    }
    void TearDown() override
    {
        LocalAuthentication::LAContext::setAuthenticator(std::nullopt);
        Foundation::Logger::setCaptureSink({});
    }

    void relock() { lock->lock(Lock::requireMasterPassword, true, false, "test"); }
    bool opensWith(const char* password)
    {
        relock();
        lock->unlock(password);
        return lock->authenticationState().isAuthenticated();
    }
    bool everyItemReadable() const
    {
        auto bankEntry = records->entry(bank);
        auto mailEntry = records->entry(mail);
        return bankEntry && bankEntry->password == "hunter2" && mailEntry && mailEntry->password == "swordfish";
    }
    // The records the account is to have (the record store's copy).
    std::optional<Foundation::Data> accountsRecords() const { return records->syncedAuthenticationRecords(); }
    void startChanging()
    {
        lock->beginChangingMasterPassword();
        lock->verifyMasterPasswordToChange(masterPassword);
        ASSERT_TRUE(lock->authenticationState().is<State::NewMasterPasswordEntry>());
    }
    // After a change that did not happen: the failure is the state, the old password opens everything,
    // the new one nothing, and the account still has the old.
    void expectUnchanged(const std::optional<Foundation::Data>& accountBefore)
    {
        auto failed = lock->authenticationState();
        ASSERT_TRUE(failed.is<State::FailedToWriteAuthenticationRecords>()) << failed.index();
        EXPECT_NE(failed.as<State::FailedToWriteAuthenticationRecords>()->error, nullptr) << "the lock screen says why";
        EXPECT_EQ(accountsRecords(), accountBefore);
        EXPECT_FALSE(opensWith(newPassword));
        EXPECT_TRUE(opensWith(masterPassword));
        EXPECT_TRUE(everyItemReadable());
    }

    std::unique_ptr<SharedTests::Vault> vault;
    std::shared_ptr<RecordStore> records;
    std::shared_ptr<AuthenticationStore> lock;
    Foundation::String bank;
    Foundation::String mail;
};

} // namespace

TEST_F(AuthenticationStoreVaultTests, TheInspectionPasswordOpensTheModeAndOnlyTheMasterPasswordLeavesIt)
{
    LocalAuthentication::LAContext::setAuthenticator(LocalAuthentication::LAContext::Authenticator {
        LocalAuthentication::LABiometryType::touchID,
        [](LocalAuthentication::LAPolicy) { return LocalAuthentication::LAContext::Reply {true, nullptr}; },
        [](LocalAuthentication::LAPolicy, const Foundation::String&) { return LocalAuthentication::LAContext::Reply {true, nullptr}; },
    });
    vault->preferenceStore->setAuthMethod(Settings::Auth::Method::touchID);
    auto context = records->makeEditingContext();
    context->setSafeForInspection(true, mail);
    context->save();
    records->setSafeForInspectionPassword(Foundation::String("for the border"));

    ASSERT_TRUE(opensWith("for the border"));
    EXPECT_TRUE(vault->preferenceStore->isSafeForInspectionModeActivated());
    EXPECT_EQ(records->safeForInspectionState(), RecordStore::SafeForInspectionState::activated);
    EXPECT_FALSE(records->entry(bank)) << "only the items marked safe";
    EXPECT_EQ(records->entry(mail)->password, "swordfish");

    // Biometry would open the whole vault: it is not offered in the mode.
    lock->lock(Lock::allowBiometry, true, false, "test");
    lock->unlockWithAvailableBiometry();
    TestSupport::runMainLoopUntilIdle();
    EXPECT_FALSE(vault->cryptor->isUnlocked());
    EXPECT_TRUE(vault->preferenceStore->isSafeForInspectionModeActivated());

    // A wrong password is neither, and counts as a failed attempt.
    lock->unlock("for the borders");
    EXPECT_TRUE(lock->authenticationState().is<State::PasswordAuthenticationFailed>());
    lock->acknowledgeEntryAttempt();

    ASSERT_TRUE(opensWith(masterPassword));
    EXPECT_FALSE(vault->preferenceStore->isSafeForInspectionModeActivated());
    EXPECT_TRUE(everyItemReadable()) << "leaving the mode brings back the rest";
}

TEST_F(AuthenticationStoreVaultTests, AChangeThatCannotBeWrittenKeepsTheOldPasswordAndEveryItem)
{
    auto accountBefore = accountsRecords();
    ASSERT_TRUE(accountBefore);
    startChanging();
    {
        FileSizeLimit fullDisk(16);
        EXPECT_THROW(lock->changeMasterPassword(newPassword), Foundation::Error);
    }
    expectUnchanged(accountBefore);
}

TEST_F(AuthenticationStoreVaultTests, AChangeTheAccountsCopyCannotTakeIsUndone)
{
    auto accountBefore = accountsRecords();
    startChanging();
    {
        // Room for the lock's small records file, none for the store's log.
        FileSizeLimit fullDisk(2048);
        EXPECT_THROW(lock->changeMasterPassword(newPassword), Foundation::Error);
    }
    expectUnchanged(accountBefore);

    // Another process writing the store meanwhile (its sync saving) refuses the copy the same way.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(SharedTests::storeFilePath().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    lock->lock(Lock::requireMasterPassword, true, false, "test");
    lock->unlock(masterPassword);
    startChanging();
    EXPECT_THROW(lock->changeMasterPassword(newPassword), Foundation::Error);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    expectUnchanged(accountBefore);

    // Once the store takes it, the change stands on both sides.
    TestSupport::advanceClock(10);
    startChanging();
    lock->changeMasterPassword(newPassword);
    EXPECT_TRUE(lock->authenticationState().isAuthenticated());
    EXPECT_NE(accountsRecords(), accountBefore);
    EXPECT_FALSE(opensWith(masterPassword));
    EXPECT_TRUE(opensWith(newPassword));
    EXPECT_TRUE(everyItemReadable());
}

TEST_F(AuthenticationStoreVaultTests, AnInspectionPasswordTheStoreCannotTakeLeavesTheOneBeforeInPlace)
{
    records->setSafeForInspectionPassword(Foundation::String("the first one"));
    {
        FileSizeLimit fullDisk(2048);
        EXPECT_THROW(records->setSafeForInspectionPassword(Foundation::String("the second one")), Foundation::Error);
        EXPECT_THROW(records->setSafeForInspectionPassword(std::nullopt), Foundation::Error);
    }
    EXPECT_EQ(records->safeForInspectionState(), RecordStore::SafeForInspectionState::ready);
    EXPECT_FALSE(records->vaultKey(Foundation::String("the second one")));
    EXPECT_TRUE(opensWith("the first one")) << "the earlier inspection password still opens the mode";
    EXPECT_TRUE(opensWith(masterPassword));
    EXPECT_TRUE(everyItemReadable());
}
