#include "Tests/Shared/Stores/VaultFixture.hpp"

#include "Tests/Support/Files.hpp"
#include "Tests/Support/MainLoop.hpp"

#include "Shared/Model/Notification.Name.hpp"
#include "Shared/Stores/AuthenticationStoreError.hpp"

#include "Platform/Foundation/Logger.hpp"
#include "Platform/LocalAuthentication/LAContext.hpp"

#include <gtest/gtest.h>

using namespace Shared;
using State = AuthenticationState;

namespace {

constexpr const char* masterPassword = "correct horse battery";

class AuthenticationStoreTests : public testing::Test {
protected:
    void SetUp() override { SharedTests::removeApplicationGroup(); }
    void TearDown() override
    {
        LocalAuthentication::LAContext::setAuthenticator(std::nullopt);
        Foundation::Logger::setCaptureSink({});
    }

    static void allowTouchID(bool succeeds)
    {
        LocalAuthentication::LAContext::setAuthenticator(LocalAuthentication::LAContext::Authenticator {
            LocalAuthentication::LABiometryType::touchID,
            [](LocalAuthentication::LAPolicy) { return LocalAuthentication::LAContext::Reply {true, nullptr}; },
            [succeeds](LocalAuthentication::LAPolicy, const Foundation::String&) { return LocalAuthentication::LAContext::Reply {succeeds, nullptr}; },
        });
    }
};

} // namespace

TEST_F(AuthenticationStoreTests, CreatesTheMasterPasswordAndUnlocksOnlyWithIt)
{
    SharedTests::Vault vault(AppExecutionContext::app(nullptr));
    auto& store = *vault.authenticationStore;
    EXPECT_EQ(store.authenticationState().index(), State::indexOf<State::NoMasterPassword>);
    EXPECT_THROW(store.createMasterPassword("short"), AuthenticationStoreError);

    int stateChanges = 0;
    auto token = vault.notificationCenter->addObserver(AuthenticationStore::authenticationStoreDidUpdateAuthenticationState(), nullptr, nullptr,
                                                       [&](const Foundation::Notification&) { ++stateChanges; });
    store.createMasterPassword(masterPassword);
    EXPECT_EQ(store.authenticationState().index(), State::indexOf<State::MasterPasswordCreated>);
    EXPECT_TRUE(vault.cryptor->isUnlocked());
    store.finishCreatingMasterPassword();
    // The set-up steps come in order, each ended by its preference.
    EXPECT_EQ(store.authenticationState().index(), State::indexOf<State::AutoFillOnboarding>);
    vault.preferenceStore->setDidCompleteAutoFillOnboarding(true);
    EXPECT_EQ(store.authenticationState().index(), State::indexOf<State::AutomaticBackupsOnboarding>);
    vault.preferenceStore->setDidCompleteBackupOnboarding(true);
    EXPECT_EQ(store.authenticationState().index(), State::indexOf<State::SyncOnboarding>);
    vault.preferenceStore->setDidCompleteSyncOnboarding(true);
    EXPECT_TRUE(store.authenticationState().isAuthenticated());
    EXPECT_GE(stateChanges, 4);
    vault.notificationCenter->removeObserver(token);

    auto sealed = vault.cryptor->seal(Foundation::Data::fromString("item secret"));
    store.lock(AuthenticationStore::LockKind::requireMasterPassword, true, false, "test");
    EXPECT_FALSE(vault.cryptor->isUnlocked());
    ASSERT_EQ(store.authenticationState().index(), State::indexOf<State::Locked>);

    // The wrong password unlocks nothing: the state says so, the attempt is counted, the key stays away.
    store.unlock("correct horse battery!");
    ASSERT_EQ(store.authenticationState().index(), State::indexOf<State::PasswordAuthenticationFailed>);
    EXPECT_FALSE(vault.cryptor->isUnlocked());
    EXPECT_THROW(vault.cryptor->open(sealed), std::exception);
    store.lock(AuthenticationStore::LockKind::allowBiometry, false, false, "AuthenticationCoordinator.transitionIfRequired");
    auto locked = store.authenticationState();
    ASSERT_TRUE(locked.as<State::Locked>());
    EXPECT_EQ(locked.entryAttemptState(), EntryAttemptState::failed(1));
    store.acknowledgeEntryAttempt();
    EXPECT_EQ(store.authenticationState().entryAttemptState(), std::nullopt);

    store.unlock(masterPassword);
    EXPECT_TRUE(store.authenticationState().isAuthenticated());
    EXPECT_EQ(vault.cryptor->open(sealed), Foundation::Data::fromString("item secret"));
}

TEST_F(AuthenticationStoreTests, ManyWrongPasswordsHoldEntryBackUntilTheHoldEnds)
{
    SharedTests::Vault vault;
    auto& store = *vault.authenticationStore;
    store.createMasterPassword(masterPassword);
    store.lock(AuthenticationStore::LockKind::requireMasterPassword, true, false, "test");
    for (int attempt = 1; attempt < AuthenticationStore::freeAttemptCount; ++attempt) {
        store.unlock("wrong password");
        store.lock(AuthenticationStore::LockKind::allowBiometry, false, false, "test");
    }
    store.unlock("wrong password");
    auto shown = store.authenticationState();
    ASSERT_EQ(shown.index(), State::indexOf<State::PasswordAuthenticationFailed>);
    ASSERT_TRUE(shown.entryAttemptState() && shown.entryAttemptState()->as<EntryAttemptState::Disabled>());
    // While held back even the right password is not tried.
    store.unlock(masterPassword);
    EXPECT_FALSE(vault.cryptor->isUnlocked());

    // The rejection stays on screen past the hold: the screen hears that the hold is over without anyone
    // acting, and what it reads then names no time already past.
    int stateChanges = 0;
    auto token = vault.notificationCenter->addObserver(AuthenticationStore::authenticationStoreDidUpdateAuthenticationState(), nullptr, nullptr,
                                                       [&](const Foundation::Notification&) { ++stateChanges; });
    TestSupport::advanceClock(31);
    vault.notificationCenter->removeObserver(token);
    EXPECT_EQ(stateChanges, 1);
    auto after = store.authenticationState();
    EXPECT_EQ(after.index(), State::indexOf<State::PasswordAuthenticationFailed>);
    EXPECT_EQ(after.entryAttemptState(), EntryAttemptState::failed(AuthenticationStore::freeAttemptCount));

    store.unlock(masterPassword);
    EXPECT_TRUE(vault.cryptor->isUnlocked());
    EXPECT_EQ(store.authenticationState().entryAttemptState(), std::nullopt);
}

TEST_F(AuthenticationStoreTests, BiometryGivesBackOnlyTheKeyOfThisProcess)
{
    allowTouchID(true);
    SharedTests::Vault vault;
    vault.preferenceStore->setAuthMethod(Settings::Auth::Method::touchID);
    auto& store = *vault.authenticationStore;
    store.createMasterPassword(masterPassword);
    EXPECT_EQ(store.availableBiometry(), Biometry::touchID);

    store.lock(AuthenticationStore::LockKind::allowBiometry, true, false, "AppDelegate.handleLockCommand");
    auto locked = store.authenticationState();
    ASSERT_TRUE(locked.as<State::Locked>());
    EXPECT_FALSE(locked.as<State::Locked>()->isBiometryDisabled);
    store.unlockWithAvailableBiometry();
    EXPECT_EQ(store.authenticationState().index(), State::indexOf<State::EvaluatingBiometry>);
    EXPECT_TRUE(SharedTests::runMainLoopUntil([&] { return store.authenticationState().index() != State::indexOf<State::EvaluatingBiometry>; }));
    EXPECT_TRUE(store.authenticationState().isAuthenticated());

    // A lock that requires the master password wipes the kept key: biometry is off until then.
    store.lock(AuthenticationStore::LockKind::requireMasterPassword, true, false, "AppDelegate.handleLockAndRequireMasterPasswordCommand");
    auto requiring = store.authenticationState();
    ASSERT_TRUE(requiring.as<State::Locked>());
    EXPECT_TRUE(requiring.as<State::Locked>()->isBiometryDisabled);
    store.unlockWithAvailableBiometry();
    TestSupport::runMainLoopUntilIdle();
    EXPECT_FALSE(vault.cryptor->isUnlocked());

    // A failed evaluation leaves the vault locked.
    store.unlock(masterPassword);
    store.lock(AuthenticationStore::LockKind::allowBiometry, true, false, "test");
    allowTouchID(false);
    store.unlockWithAvailableBiometry();
    EXPECT_TRUE(SharedTests::runMainLoopUntil([&] { return store.authenticationState().index() != State::indexOf<State::EvaluatingBiometry>; }));
    EXPECT_FALSE(vault.cryptor->isUnlocked());
    EXPECT_EQ(store.authenticationState().index(), State::indexOf<State::Locked>);
}

TEST_F(AuthenticationStoreTests, ChangingTheMasterPasswordKeepsTheVaultKey)
{
    SharedTests::Vault vault;
    auto& store = *vault.authenticationStore;
    store.createMasterPassword(masterPassword);
    store.finishCreatingMasterPassword();
    auto sealed = vault.cryptor->seal(Foundation::Data::fromString("still readable"));

    store.beginChangingMasterPassword();
    EXPECT_EQ(store.authenticationState().index(), State::indexOf<State::ChangeMasterPasswordEntry>);
    store.verifyMasterPasswordToChange("not it at all");
    EXPECT_EQ(store.authenticationState().index(), State::indexOf<State::ChangeMasterPasswordEntry>);
    EXPECT_TRUE(store.authenticationState().entryAttemptState().has_value());
    store.verifyMasterPasswordToChange(masterPassword);
    EXPECT_EQ(store.authenticationState().index(), State::indexOf<State::NewMasterPasswordEntry>);
    store.changeMasterPassword("a brand new passphrase");
    EXPECT_TRUE(store.authenticationState().isAuthenticated());

    store.lock(AuthenticationStore::LockKind::requireMasterPassword, true, false, "test");
    store.unlock(masterPassword);
    EXPECT_FALSE(vault.cryptor->isUnlocked());
    store.lock(AuthenticationStore::LockKind::allowBiometry, true, false, "test");
    store.unlock("a brand new passphrase");
    EXPECT_EQ(vault.cryptor->open(sealed), Foundation::Data::fromString("still readable"));
}

TEST_F(AuthenticationStoreTests, ResetAndRestoreFlowsLeadWhereTheLockScreenExpects)
{
    SharedTests::Vault vault;
    auto& store = *vault.authenticationStore;
    store.createMasterPassword(masterPassword);
    store.finishCreatingMasterPassword();

    store.beginRestoringFromBackup(std::nullopt);
    EXPECT_EQ(store.authenticationState().index(), State::indexOf<State::RestoreFromBackupIntroduction>);
    EXPECT_TRUE(store.authenticationState().isIncludedInRestoreFromBackupFlow());
    store.continueRestoringFromBackup();
    EXPECT_EQ(store.authenticationState().index(), State::indexOf<State::RestoreFromBackupMasterPasswordEntry>);
    store.verifyMasterPasswordToRestore(masterPassword);
    EXPECT_EQ(store.authenticationState().index(), State::indexOf<State::ChoosingBackupFile>);
    auto file = Foundation::URL::fileURLWithPath("/backups/vault.backup");
    store.chooseBackupFile(file);
    EXPECT_EQ(store.authenticationState(), State(State::BackupPasswordEntry {file}));
    store.beginReadingBackup();
    store.restoreFromBackupDidFail("the backup password is wrong");
    EXPECT_EQ(store.authenticationState().index(), State::indexOf<State::RestoreFromBackupFailed>);
    store.cancelRestoringFromBackup();
    EXPECT_TRUE(store.authenticationState().isAuthenticated());

    store.beginResettingAccount();
    EXPECT_EQ(store.authenticationState().index(), State::indexOf<State::ResetAccountIntroduction>);
    store.startResettingAccount();
    EXPECT_EQ(store.authenticationState().index(), State::indexOf<State::ResetAccountConfirmation>);
    store.confirmResettingAccount();
    EXPECT_EQ(store.authenticationState().index(), State::indexOf<State::ResettingAccount>);
    store.accountResetDidFail();
    EXPECT_EQ(store.authenticationState().index(), State::indexOf<State::ResetAccountFailed>);
    store.cancelResettingAccount();
    EXPECT_TRUE(store.authenticationState().isAuthenticated());

    store.beginResettingAccount();
    store.startResettingAccount();
    store.confirmResettingAccount();
    store.lock(AuthenticationStore::LockKind::reloadRecords, true, false, "AuthenticationCoordinator.performAccountReset()");
    EXPECT_EQ(store.authenticationState().index(), State::indexOf<State::NewMasterPasswordAfterReset>);
    store.createMasterPassword("the new master password");
    EXPECT_TRUE(vault.cryptor->isUnlocked());
}

TEST_F(AuthenticationStoreTests, DamagedRecordsAreAnErrorStateAndNothingIsOverwritten)
{
    {
        SharedTests::Vault vault;
        vault.authenticationStore->createMasterPassword(masterPassword);
    }
    auto container = Foundation::FileManager::defaultManager()->containerURL(Global::App::appGroupIdentifier());
    auto path = std::filesystem::path(container->path().utf8()) / "Library/Application Support/AuthenticationStore/authenticationRecords.json";
    std::filesystem::resize_file(path, 40);
    auto damaged = std::filesystem::file_size(path);

    SharedTests::Vault vault;
    auto state = vault.authenticationStore->authenticationState();
    ASSERT_EQ(state.index(), State::indexOf<State::FailedToReadAuthenticationRecords>);
    EXPECT_NE(state.as<State::FailedToReadAuthenticationRecords>()->error, nullptr);
    EXPECT_THROW(vault.authenticationStore->createMasterPassword("a second vault"), std::exception);
    EXPECT_EQ(std::filesystem::file_size(path), damaged);
}

TEST_F(AuthenticationStoreTests, RecordsAskingForAnExcessiveKeyDerivationAreDamaged)
{
    {
        SharedTests::Vault vault;
        vault.authenticationStore->createMasterPassword(masterPassword);
    }
    auto container = Foundation::FileManager::defaultManager()->containerURL(Global::App::appGroupIdentifier());
    auto path = std::filesystem::path(container->path().utf8()) / "Library/Application Support/AuthenticationStore/authenticationRecords.json";
    auto text = TestSupport::readText(path);
    auto at = text.find("\"operationsLimit\":2");
    ASSERT_NE(at, std::string::npos) << text;
    text.replace(at, 19, "\"operationsLimit\":16");
    TestSupport::writeText(path, text);

    // Refused as it is read: no password is tried against it, and no attempt counts against the person.
    SharedTests::Vault vault;
    auto state = vault.authenticationStore->authenticationState();
    ASSERT_EQ(state.index(), State::indexOf<State::FailedToReadAuthenticationRecords>);
    EXPECT_NE(state.as<State::FailedToReadAuthenticationRecords>()->error, nullptr);
    EXPECT_ANY_THROW(vault.authenticationStore->unlock(masterPassword));
    EXPECT_FALSE(vault.cryptor->isUnlocked());
    EXPECT_EQ(TestSupport::readText(path), text);
}

TEST_F(AuthenticationStoreTests, NoSecretReachesTheLogOrAnErrorText)
{
    std::vector<std::string> records;
    Foundation::Logger::setCaptureSink([&](const Foundation::LogRecord& record) { records.push_back(record.unredactedMessage); });
    SharedTests::Vault vault;
    auto& store = *vault.authenticationStore;
    store.createMasterPassword(masterPassword);
    store.lock(AuthenticationStore::LockKind::requireMasterPassword, true, false, "test");
    store.unlock("horse battery staple wrong");
    store.lock(AuthenticationStore::LockKind::allowBiometry, false, false, "test");
    store.unlock(masterPassword);
    std::vector<std::string> errors;
    try {
        store.changeMasterPassword(masterPassword);
    } catch (const Foundation::Error& error) {
        errors.push_back(error.description());
    }
    ASSERT_FALSE(records.empty());
    for (const auto& text : records) {
        EXPECT_EQ(text.find("horse"), std::string::npos) << text;
    }
    for (const auto& text : errors)
        EXPECT_EQ(text.find("horse"), std::string::npos) << text;
    // Nor does the records file hold it.
    auto container = Foundation::FileManager::defaultManager()->containerURL(Global::App::appGroupIdentifier());
    for (const auto& entry : std::filesystem::recursive_directory_iterator(container->path().utf8())) {
        if (entry.is_regular_file()) {
            EXPECT_EQ(TestSupport::readText(entry.path()).find("horse"), std::string::npos) << entry.path();
        }
    }
}

namespace {

// The record store's copy of the records as the account keeps it, in memory.
class AccountRecordSource : public AuthenticationStore::RecordSource {
public:
    explicit AccountRecordSource(std::shared_ptr<Cryptor> cryptor)
        : m_cryptor(std::move(cryptor))
    {
    }
    std::shared_ptr<Cryptor> cryptor() const override { return m_cryptor; }
    std::optional<Foundation::Data> syncedAuthenticationRecords() const override { return synced; }
    void setSyncedAuthenticationRecords(const Foundation::Data& records, Foundation::Date) override { synced = records; }

    std::optional<Foundation::Data> synced;

private:
    std::shared_ptr<Cryptor> m_cryptor;
};

std::shared_ptr<AuthenticationStore> openLock(const SharedTests::Vault& vault, std::shared_ptr<AccountRecordSource> account)
{
    return Foundation::make<AuthenticationStore>(vault.userDefaults, vault.notificationCenter, nullptr, std::move(account), vault.preferenceStore, nullptr,
                                                 AppExecutionContext::app(nullptr));
}

} // namespace

TEST_F(AuthenticationStoreTests, TheRecordsTravelWithTheAccountAndTheLaterPasswordWins)
{
    SharedTests::Vault vault(AppExecutionContext::app(nullptr));
    auto account = std::make_shared<AccountRecordSource>(vault.cryptor);
    auto lock = openLock(vault, account);
    lock->createMasterPassword(masterPassword);
    ASSERT_TRUE(account->synced.has_value());
    auto first = *account->synced;

    // The account dropped them (reset from another device): a relaunch does not bring them back.
    account->synced.reset();
    lock = openLock(vault, account);
    EXPECT_FALSE(account->synced.has_value());

    // An installation without records takes the account's: it unlocks with that master password.
    SharedTests::removeApplicationGroup();
    SharedTests::Vault here(AppExecutionContext::app(nullptr));
    auto installation = std::make_shared<AccountRecordSource>(here.cryptor);
    installation->synced = first;
    lock = openLock(here, installation);
    EXPECT_EQ(lock->authenticationState().index(), State::indexOf<State::Locked>);

    // Another installation made a vault of its own and set its password later: the account's copy wins
    // when a sync brings it, and the records of this vault stay beside it for whoever needs its items.
    TestSupport::advanceClock(60);
    auto otherAccount = std::make_shared<AccountRecordSource>(here.cryptor);
    Foundation::make<AuthenticationStore>(here.userDefaults, here.notificationCenter, nullptr, otherAccount, here.preferenceStore, nullptr,
                                          AppExecutionContext::app(nullptr),
                                          Basalwork::File::Location::raw(Foundation::String(SharedTests::temporaryFolder("elsewhere").string())))
        ->createMasterPassword("another master password");
    here.cryptor->lock();
    installation->synced = otherAccount->synced;
    here.notificationCenter->post(syncCoordinatorDidUpdateMasterPasswordsOrVaults());
    lock->unlock(masterPassword);
    EXPECT_FALSE(here.cryptor->isUnlocked());
    lock->acknowledgeEntryAttempt();
    lock->unlock("another master password");
    EXPECT_TRUE(here.cryptor->isUnlocked());
    auto folder = std::filesystem::path(Foundation::FileManager::defaultManager()->containerURL(Global::App::appGroupIdentifier())->path().utf8())
        / "Library/Application Support/AuthenticationStore";
    bool kept = false;
    for (const auto& file : std::filesystem::directory_iterator(folder))
        kept = kept || file.path().filename().string().ends_with(".replaced.json");
    EXPECT_TRUE(kept);
}
