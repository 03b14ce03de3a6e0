#include "Tests/Corvendale/App/ProgramFixture.hpp"

#include "Shared/Metricove/AnalyticsStore.hpp"
#include "Shared/Model/AuthenticationState.hpp"
#include "Shared/Model/Entry.Filter.hpp"
#include "Shared/Model/Entry.hpp"
#include "Shared/Model/Notification.Name.hpp"
#include "Shared/Model/Settings.Auth.hpp"
#include "Shared/Screens/MasterPasswordTipsVC.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Stores/RecordStoreError.hpp"
#include "Shared/Syncwright/CloudKitRemote.hpp"
#include "Shared/Transfer/BackupStore.hpp"

#include "Tests/Support/Driver.hpp"
#include "Tests/Support/Files.hpp"

#include "Platform/CloudKit/CKSimulation.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/LocalAuthentication/LAContext.hpp"
#include "Platform/UIKit/UIAlertAction.hpp"
#include "Platform/UIKit/UIAlertController.Style.hpp"
#include "Platform/UIKit/UIAlertController.hpp"
#include "Platform/UIKit/UIDocumentPickerViewController.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIMenuSystem.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UIWindow.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using Corvendale::AuthenticationCoordinator;
using Corvendale::dependencies;
using Foundation::String;
using Shared::AuthenticationState;
using VState = Shared::AuthenticationVState;

namespace {

constexpr const char* newMasterPassword = "a brand new master password";

class LockScreen : public CorvendaleTests::Program {
protected:
    void SetUp() override
    {
        Program::SetUp();
        CorvendaleTests::unlockVault();
        settle();
        m_resets = center()->addObserver(AuthenticationCoordinator::authenticationCoordinatorDidResetAccount(), nullptr, nullptr,
                                         [this](const Foundation::Notification&) { ++m_resetCount; });
    }
    void TearDown() override
    {
        center()->removeObserver(m_resets);
        CloudKit::CKSimulation::removeInjectedFailures();
        CloudKit::CKSimulation::setAccount(std::nullopt);
        LocalAuthentication::LAContext::setAuthenticator(std::nullopt);
        dependencies().preferenceStore->setAuthMethod(Shared::Settings::Auth::Method::masterPasswordOnly);
        UIKit::UIApplication::setExternalURLHandler({});
        Program::TearDown();
    }

    static const std::shared_ptr<Foundation::NotificationCenter>& center() { return dependencies().notificationCenter; }
    static const std::shared_ptr<Shared::RecordStore>& records() { return dependencies().recordStore; }

    TestSupport::Driver driver()
    {
        return TestSupport::Driver(std::dynamic_pointer_cast<UIKit::UIWindowScene>(UIKit::UIApplication::shared()->connectedScenes().back()));
    }

    static std::vector<std::string> titles()
    {
        std::vector<std::string> result;
        for (const auto& entry : records()->allEntries())
            result.push_back(entry.title.utf8());
        std::sort(result.begin(), result.end());
        return result;
    }
    static void add(const std::string& title)
    {
        auto entry = Shared::Entry::make(Shared::Entry::Category::login, Foundation::Date::now());
        entry.title = String(title);
        records()->insertEntries({entry}, {});
    }
    void lock() const
    {
        store()->lock(Shared::AuthenticationStore::LockKind::allowBiometry, true, false, "test");
        settle();
    }
    // The primary button in the state the screen shows, with nothing typed.
    void press()
    {
        auto coordinator = lockScreen();
        coordinator->didSelectPrimaryAction(coordinator->authenticationVC()->state(), *coordinator->authenticationVC());
        settle();
    }
    // The lock screen's alert, as the person answers it.
    void chooseAlertAction(const char* title)
    {
        auto alert = std::dynamic_pointer_cast<UIKit::UIAlertController>(lockScreen()->presentedViewController());
        ASSERT_NE(alert, nullptr);
        for (const auto& action : alert->actions())
            if (action->title() == std::optional<String>(title))
                alert->choose(action);
        TestSupport::advanceClock(1);
        settle();
    }
    std::optional<std::string> alertTitle() const
    {
        auto alert = std::dynamic_pointer_cast<UIKit::UIAlertController>(lockScreen()->presentedViewController());
        return alert ? alert->title().value_or(String()).utf8() : std::optional<std::string>();
    }
    // The reset and the restore run on other threads: the main loop turns while `running` holds (30
    // seconds at most).
    template <class Predicate>
    static void waitWhile(Predicate running)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (running() && std::chrono::steady_clock::now() < deadline)
            settle();
    }
    void waitForTheReset()
    {
        // A sync after the reset may hold the screen for its first fetch (20) a moment.
        waitWhile([&] { return (screenState() == VState::indexOf<VState::ResettingAccount> || screenState() == VState::indexOf<VState::WaitingForInitialFetch>) && !lockScreen()->presentedViewController(); });
    }

    // Through the introduction and the confirmation text, to the reset itself.
    void resetAccountOnTheLockScreen()
    {
        lock();
        store()->beginResettingAccount();
        settle();
        ASSERT_EQ(screenState(), VState::indexOf<VState::ResetAccountIntroduction>);
        press();
        ASSERT_EQ(screenState(), VState::indexOf<VState::ResetAccountConfirmation>);
        type("RESET");
        waitForTheReset();
    }

    std::shared_ptr<Foundation::NSObject> m_resets;
    int m_resetCount = 0;
};

TEST_F(LockScreen, AnAccountResetWithoutAnAccountEndsWithAnEmptyVaultUnderANewMasterPassword)
{
    add("Mail");
    lock();
    store()->beginResettingAccount();
    settle();
    EXPECT_EQ(screenState(), VState::indexOf<VState::ResetAccountIntroduction>);
    press();
    EXPECT_EQ(screenState(), VState::indexOf<VState::ResetAccountConfirmation>);
    type("RESE");
    EXPECT_EQ(screenState(), VState::indexOf<VState::ResetAccountConfirmation>) << "a wrong confirmation text neither resets nor moves on";
    EXPECT_EQ(lockScreen()->entryText(), String("RESE"));
    EXPECT_EQ(m_resetCount, 0);

    type("reset");
    EXPECT_EQ(screenState(), VState::indexOf<VState::ResetAccountConfirmation>) << "the confirmation is the exact text";
    type("RESET");
    waitForTheReset();
    EXPECT_EQ(m_resetCount, 1) << "the main coordinator hears of the reset";
    EXPECT_EQ(screenState(), VState::indexOf<VState::NewMasterPasswordAfterReset>) << "a new master password";
    type("short", String("short"));
    EXPECT_EQ(screenState(), VState::indexOf<VState::NewMasterPasswordAfterReset>);
    type(newMasterPassword, String("another one entirely"));
    EXPECT_EQ(screenState(), VState::indexOf<VState::NewMasterPasswordAfterReset>) << "repetitions that differ are not taken";
    type(newMasterPassword, String(newMasterPassword));
    ASSERT_TRUE(store()->authenticationState().isAuthenticated()) << store()->authenticationState().index();
    EXPECT_TRUE(titles().empty());
}

TEST_F(LockScreen, ARemoteDeletionThatMeetsNoNetworkAsksForAConnectionAndKeepsTheVault)
{
    add("Mail");
    CloudKit::CKSimulation::setAccount(String("someone"));
    CloudKit::CKSimulation::Failure noNetwork;
    noNetwork.operation = CloudKit::CKSimulation::Operation::modifyRecordZones;
    CloudKit::CKSimulation::injectFailure(noNetwork);
    resetAccountOnTheLockScreen();
    EXPECT_EQ(alertTitle(), std::optional<std::string>("Internet Connection Required"));
    EXPECT_EQ(m_resetCount, 0);
    chooseAlertAction("OK");
    EXPECT_EQ(screenState(), VState::indexOf<VState::ResetAccountFailed>) << "the reset failed";
    press();
    EXPECT_EQ(screenState(), VState::indexOf<VState::Locked>) << "back to the locked screen";
    type(CorvendaleTests::masterPassword);
    ASSERT_TRUE(store()->authenticationState().isAuthenticated());
    EXPECT_EQ(titles(), std::vector<std::string> {"Mail"});
}

// A coordinator whose local reset fails, as a full disk or a damaged store would make it.
class FailingLocalReset : public AuthenticationCoordinator {
protected:
    friend Foundation::Construct;
    using AuthenticationCoordinator::AuthenticationCoordinator;
    void resetLocalRecordsAndSyncState() override { throw Shared::RecordStoreError::vaultNotFound(String("default")); }
};

TEST_F(LockScreen, ALocalResetThatFailsAfterTheRemoteDeletionIsAFailureWithoutSyncOrAnnouncement)
{
    add("Mail");
    CloudKit::CKSimulation::setAccount(String("someone"));
    auto scene = std::dynamic_pointer_cast<UIKit::UIWindowScene>(UIKit::UIApplication::shared()->connectedScenes().back());
    auto coordinator = Foundation::make<FailingLocalReset>(Foundation::make<UIKit::UIWindow>(scene), Foundation::make<UIKit::UIWindow>(scene));
    const auto& remote = dependencies().syncCoordinator->cloudKitRemote();
    // The account change starts a sync of its own: it ends before the reset begins.
    settle();
    remote->stop();
    const auto fetchedBefore = remote->mostRecentCompletedFetchDate();

    std::optional<Foundation::Result<void>> outcome;
    coordinator->resetAccount(AuthenticationCoordinator::ResetResultHandler(Foundation::DispatchQueue::main(),
                                                                           [&](Foundation::Result<void> result) { outcome = result; }));
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!outcome && std::chrono::steady_clock::now() < deadline)
        settle();
    ASSERT_TRUE(outcome.has_value());
    EXPECT_TRUE(outcome->isFailure()) << "a reset that left the old records is no success";
    settle();
    EXPECT_EQ(m_resetCount, 0) << "nothing was reset to announce";
    EXPECT_EQ(remote->mostRecentCompletedFetchDate(), fetchedBefore) << "no sync ran";

    // Through the confirmation screen the failure shows and the reset can be tried again.
    lock();
    store()->beginResettingAccount();
    store()->startResettingAccount();
    coordinator->didSelectPrimaryAction(VState::ResetAccountConfirmation {String("RESET")}, *coordinator->authenticationVC());
    deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!store()->authenticationState().is<AuthenticationState::ResetAccountFailed>() && std::chrono::steady_clock::now() < deadline)
        settle();
    EXPECT_TRUE(store()->authenticationState().is<AuthenticationState::ResetAccountFailed>()) << store()->authenticationState().index();
    auto alert = std::dynamic_pointer_cast<UIKit::UIAlertController>(coordinator->presentedViewController());
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), std::optional<String>("Oops!"));
    EXPECT_EQ(m_resetCount, 0);
    store()->cancelResettingAccount();
    type(CorvendaleTests::masterPassword);
    EXPECT_EQ(titles(), std::vector<std::string> {"Mail"}) << "the old records stay";
}

TEST_F(LockScreen, AResetOnAnotherDeviceEmptiesTheVaultAndLocksIt)
{
    add("Mail");
    center()->post(Shared::syncCoordinatorUserDidResetAccountRemotelyNotification(), dependencies().syncCoordinator);
    settle();
    // With the sync state gone, a sync that runs meanwhile holds the screen until it has fetched.
    waitWhile([&] { return screenState() == VState::indexOf<VState::WaitingForInitialFetch>; });
    EXPECT_FALSE(store()->authenticationState().isAuthenticated());
    EXPECT_EQ(screenState(), VState::indexOf<VState::Locked>);
    type(CorvendaleTests::masterPassword);
    ASSERT_TRUE(store()->authenticationState().isAuthenticated());
    EXPECT_TRUE(titles().empty());
}

TEST_F(LockScreen, ARestoreFromAnotherInstallationsBackupEndsUnlockedWithItsItemsAndAWrongPasswordChangesNothing)
{
    // The other installation: its items and master password, backed up.
    add("From the backup");
    auto folder = std::filesystem::path(std::getenv("TMPDIR")) / "Backups";
    std::filesystem::create_directories(folder);
    dependencies().preferenceStore->setBackupFolder(Foundation::URL::fileURLWithPath(String(folder.string()), true));
    // Choosing the folder may start an automatic backup already.
    const auto& backupStore = dependencies().backupStore;
    auto backingUp = [&] { return backupStore->status().is<Shared::BackupStore::Status::InProgress>(); };
    settle();
    waitWhile(backingUp);
    if (backupStore->backupFiles().empty()) {
        backupStore->performOrCancelBackup();
        waitWhile(backingUp);
    }
    auto backups = dependencies().backupStore->backupFiles();
    ASSERT_EQ(backups.size(), 1u);
    const auto backup = backups.front();
    dependencies().preferenceStore->setBackupFolder(std::nullopt);

    // This installation: reset, with its own master password and items.
    resetAccountOnTheLockScreen();
    type(newMasterPassword, String(newMasterPassword));
    ASSERT_TRUE(store()->authenticationState().isAuthenticated());
    add("Only here");
    lock();

    auto chooseBackup = [&](const char* backupPassword) {
        lockScreen()->didSelect(Shared::AuthenticationVLink::restoreFromBackup, *lockScreen()->authenticationVC());
        settle();
        ASSERT_EQ(screenState(), VState::indexOf<VState::RestoreFromBackupIntroduction>);
        press();
        ASSERT_EQ(screenState(), VState::indexOf<VState::RestoreFromBackupMasterPasswordEntry>) << "this vault's master password first";
        type(newMasterPassword);
        ASSERT_EQ(screenState(), VState::indexOf<VState::ChoosingBackupFile>);
        press();
        EXPECT_EQ(screenState(), VState::indexOf<VState::ChoosingBackupFile>) << "no file chosen yet";
        // The file comes through the picker, as the person chooses it.
        lockScreen()->didSelectChooseLocation(*lockScreen()->authenticationVC());
        settle();
        auto picker = std::dynamic_pointer_cast<UIKit::UIDocumentPickerViewController>(lockScreen()->presentedViewController());
        ASSERT_NE(picker, nullptr);
        EXPECT_EQ(picker->contentTypes().front(), AuthenticationCoordinator::backupDocumentType());
        auto field = driver().find<UIKit::UITextField>(String(UIKit::UIDocumentPickerViewController::pathFieldIdentifier));
        ASSERT_NE(field, nullptr);
        field->setText(backup.path() + "-missing");
        picker->open();
        settle();
        EXPECT_EQ(lockScreen()->presentedViewController(), picker) << "no such file: the picker stays";
        field->setText(backup.path());
        picker->open();
        TestSupport::advanceClock(1);
        settle();
        EXPECT_EQ(lockScreen()->selectedFileURL(), std::optional<Foundation::URL>(backup));
        EXPECT_EQ(lockScreen()->authenticationVC()->state(), VState(VState::ChoosingBackupFile {backup}));
        press();
        ASSERT_EQ(screenState(), VState::indexOf<VState::BackupPasswordEntry>);
        type("   ");
        EXPECT_EQ(screenState(), VState::indexOf<VState::BackupPasswordEntry>) << "a blank password is not tried";
        type(backupPassword);
        waitWhile([&] { return screenState() == VState::indexOf<VState::RestoringFromBackup>; });
    };

    chooseBackup("not the backup's password");
    ASSERT_EQ(screenState(), VState::indexOf<VState::RestoreFromBackupFailed>) << "the backup does not open";
    // The failure report goes out as a mail draft, and the restore starts again.
    press();
    auto opened = UIKit::UIApplication::shared()->openedURLs();
    ASSERT_FALSE(opened.empty());
    EXPECT_EQ(opened.back().scheme(), "mailto");
    EXPECT_NE(opened.back().absoluteString().utf8().find("subject=Restore%20from%20backup%20error"), std::string::npos);
    EXPECT_EQ(screenState(), VState::indexOf<VState::RestoreFromBackupIntroduction>);
    lockScreen()->didSelectCancel(*lockScreen()->authenticationVC());
    settle();
    type(newMasterPassword);
    ASSERT_TRUE(store()->authenticationState().isAuthenticated());
    EXPECT_EQ(titles(), std::vector<std::string> {"Only here"}) << "the vault is as it was";
    lock();

    chooseBackup(CorvendaleTests::masterPassword);
    ASSERT_EQ(screenState(), VState::indexOf<VState::ReplaceDataWithBackupConfirmation>) << "the backup opens: replace this vault?";
    press();
    waitWhile([&] { return screenState() == VState::indexOf<VState::ResettingAccount> || screenState() == VState::indexOf<VState::RestoringFromBackup>; });
    ASSERT_EQ(screenState(), VState::indexOf<VState::RestoredVaultMasterPasswordEntry>) << "the restored vault's master password";
    type(newMasterPassword);
    EXPECT_FALSE(store()->authenticationState().isAuthenticated()) << "this installation's password no longer opens it";
    if (screenState() != VState::indexOf<VState::RestoredVaultMasterPasswordEntry>)
        press(); // the rejected attempt acknowledged
    type(CorvendaleTests::masterPassword);
    ASSERT_TRUE(store()->authenticationState().isAuthenticated()) << store()->authenticationState().index();
    EXPECT_EQ(titles(), std::vector<std::string> {"From the backup"});
}

TEST_F(LockScreen, AFailureReportWithoutAMailProgramShowsTheNotice)
{
    UIKit::UIApplication::setExternalURLHandler({[](const Foundation::URL&) { return false; }, nullptr});
    lock();
    store()->beginRestoringFromBackup(std::nullopt);
    store()->restoreFromBackupDidFail(String("The backup is damaged."));
    settle();
    ASSERT_EQ(screenState(), VState::indexOf<VState::RestoreFromBackupFailed>);
    const auto opened = UIKit::UIApplication::shared()->openedURLs().size();
    press();
    EXPECT_EQ(alertTitle(), std::optional<std::string>("Unable to Send Mail"));
    auto alert = std::dynamic_pointer_cast<UIKit::UIAlertController>(lockScreen()->presentedViewController());
    ASSERT_NE(alert, nullptr);
    EXPECT_NE(alert->message().value_or(String()).utf8().find("Sending failure reports"), std::string::npos);
    EXPECT_EQ(UIKit::UIApplication::shared()->openedURLs().size(), opened);
}

TEST_F(LockScreen, TheBiometryMenuCommandIsOfferedOnlyWhileLockedWithBiometryOnOffer)
{
    dependencies().preferenceStore->setAuthMethod(Shared::Settings::Auth::Method::faceID);
    LocalAuthentication::LAContext::setAuthenticator(LocalAuthentication::LAContext::Authenticator {
        LocalAuthentication::LABiometryType::faceID,
        [](LocalAuthentication::LAPolicy) { return LocalAuthentication::LAContext::Reply {true, nullptr}; },
        [](LocalAuthentication::LAPolicy, const String&) { return LocalAuthentication::LAContext::Reply {true, nullptr}; },
    });
    // The biometric key comes from an unlock with the master password in this process.
    lock();
    type(CorvendaleTests::masterPassword);
    UIKit::UIMenuSystem::main()->setNeedsRebuild();
    const std::vector<String> path {"File", "Unlock with Face ID"};
    auto shown = driver().core().menuBarItem(path);
    ASSERT_NE(shown, nullptr);
    EXPECT_FALSE(UIKit::UIMenuSystem::isEnabled(*shown)) << "nothing to unlock";

    lock();
    ASSERT_EQ(screenState(), VState::indexOf<VState::Locked>);
    shown = driver().core().menuBarItem(path);
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(UIKit::UIMenuSystem::isEnabled(*shown));
    driver().press("u", UIKit::UIKeyModifierFlags::command());
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!store()->authenticationState().isAuthenticated() && std::chrono::steady_clock::now() < deadline)
        settle();
    EXPECT_TRUE(store()->authenticationState().isAuthenticated()) << "Cmd-U unlocks with biometry";

    // A lock that requires the master password switches biometry off.
    store()->lock(Shared::AuthenticationStore::LockKind::requireMasterPassword, true, false, "test");
    settle();
    shown = driver().core().menuBarItem(path);
    ASSERT_NE(shown, nullptr);
    EXPECT_FALSE(UIKit::UIMenuSystem::isEnabled(*shown));
    EXPECT_EQ(shown->title(), String("Unlock with Face ID")) << "the title of the build stays";
}

TEST_F(LockScreen, TheCancelButtonLeavesEachFlowAndTheLinksDoWhatTheyName)
{
    lock();
    store()->beginRestoringFromBackup(std::nullopt);
    settle();
    ASSERT_EQ(screenState(), VState::indexOf<VState::RestoreFromBackupIntroduction>);
    lockScreen()->didSelectCancel(*lockScreen()->authenticationVC());
    settle();
    EXPECT_EQ(screenState(), VState::indexOf<VState::Locked>);

    store()->beginResettingAccount();
    settle();
    lockScreen()->didSelectCancel(*lockScreen()->authenticationVC());
    settle();
    EXPECT_EQ(screenState(), VState::indexOf<VState::Locked>);

    const auto opened = UIKit::UIApplication::shared()->openedURLs().size();
    lockScreen()->didSelect(Shared::AuthenticationVLink::showPassword, *lockScreen()->authenticationVC());
    settle();
    EXPECT_EQ(screenState(), VState::indexOf<VState::Locked>) << "the screen shows the password itself";
    lockScreen()->didSelect(Shared::AuthenticationVLink::website, *lockScreen()->authenticationVC());
    ASSERT_EQ(UIKit::UIApplication::shared()->openedURLs().size(), opened + 1);
    EXPECT_EQ(UIKit::UIApplication::shared()->openedURLs().back(), Shared::Global::Website::url());

    // An error screen locks again and asks for the master password.
    type("wrong password");
    EXPECT_TRUE(store()->authenticationState().entryAttemptState().has_value());
    lockScreen()->didSelect(Shared::AuthenticationVLink::forgotPassword, *lockScreen()->authenticationVC());
    settle();
    EXPECT_FALSE(lockScreen()->authenticationVC()->state().entryAttemptState().has_value()) << "the attempt is acknowledged";
}

} // namespace

namespace {

// A process whose vault has no master password yet.
class FirstLaunch : public CorvendaleTests::Program {
protected:
    void SetUp() override
    {
        Program::SetUp();
        if (screenState() != VState::indexOf<VState::CreateMasterPassword>)
            GTEST_SKIP() << "the vault of this process has a master password already (" << screenState() << ")";
    }
    void press()
    {
        auto coordinator = lockScreen();
        coordinator->didSelectPrimaryAction(coordinator->authenticationVC()->state(), *coordinator->authenticationVC());
        settle();
    }
    std::shared_ptr<UIKit::UIDocumentPickerViewController> picker() const
    {
        return std::dynamic_pointer_cast<UIKit::UIDocumentPickerViewController>(lockScreen()->presentedViewController());
    }
    TestSupport::Driver driver()
    {
        return TestSupport::Driver(std::dynamic_pointer_cast<UIKit::UIWindowScene>(UIKit::UIApplication::shared()->connectedScenes().back()));
    }
    void finishPresentation() const
    {
        TestSupport::advanceClock(1);
        settle();
    }
};

// The first sync ended without a fetch (cancelled, failed, signed out): the create screen shows. A sync
// that starts while the person types must leave the screen, and what is typed, where they are.
TEST_F(FirstLaunch, ASyncStartingWhileTheMasterPasswordIsTypedKeepsTheScreenAndTheText)
{
    const auto& sync = dependencies().syncCoordinator;
    sync->cloudKitRemote()->reset();
    ASSERT_FALSE(sync->cloudKitRemote()->mostRecentCompletedFetchDate());
    auto report = [&](const Syncwright::SyncStatus& status) {
        sync->cloudKitRemoteDidUpdate(status);
        TestSupport::runMainLoopUntilIdle();
    };
    report(Syncwright::SyncStatus::idle(std::nullopt));
    ASSERT_EQ(screenState(), VState::indexOf<VState::CreateMasterPassword>);
    auto coordinator = lockScreen();
    coordinator->didUpdateEntryText(String(CorvendaleTests::masterPassword), *coordinator->authenticationVC());
    for (auto activity : {Syncwright::SyncStatus::Activity::fetching, Syncwright::SyncStatus::Activity::pushing}) {
        report(Syncwright::SyncStatus::syncing(activity));
        EXPECT_EQ(screenState(), VState::indexOf<VState::CreateMasterPassword>);
    }
    report(Syncwright::SyncStatus::upToDate(Foundation::Date::now()));
    const auto* shown = coordinator->authenticationVC()->state().as<VState::CreateMasterPassword>();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->entryText, String(CorvendaleTests::masterPassword));
    coordinator->didUpdateEntryText(String(), *coordinator->authenticationVC());
}

TEST_F(FirstLaunch, OffersTheTipsWhileCreatingAndTheBackupFolderStartsInDocumentsThenInTheChosenOne)
{
    auto coordinator = lockScreen();
    coordinator->didSelectMasterPasswordTips(*coordinator->authenticationVC());
    settle();
    auto tips = std::dynamic_pointer_cast<Shared::MasterPasswordTipsVC>(coordinator->presentedViewController());
    ASSERT_NE(tips, nullptr);
    tips->handleDoneCommand();
    finishPresentation();
    EXPECT_EQ(coordinator->presentedViewController(), nullptr);
    EXPECT_EQ(screenState(), VState::indexOf<VState::CreateMasterPassword>);

    type(CorvendaleTests::masterPassword, String(CorvendaleTests::masterPassword));
    coordinator->didSelectMasterPasswordTips(*coordinator->authenticationVC());
    EXPECT_EQ(coordinator->presentedViewController(), nullptr) << "tips only while creating";
    ASSERT_EQ(screenState(), VState::indexOf<VState::AutoFillOnboarding>) << "set-up: AutoFill";
    press();
    ASSERT_EQ(screenState(), VState::indexOf<VState::AutomaticBackupsOnboarding>) << "set-up: automatic backups";

    auto home = std::filesystem::path(std::getenv("HOME"));
    std::filesystem::create_directories(home / "Documents");
    std::filesystem::create_directories(home / "Backups");
    TestSupport::writeText(home / "a file", "not a folder");
    coordinator->didSelectChooseLocation(*coordinator->authenticationVC());
    settle();
    ASSERT_NE(picker(), nullptr);
    EXPECT_EQ(picker()->contentTypes(), std::vector {UniformTypeIdentifiers::UTType::folder()});
    EXPECT_EQ(picker()->directoryURL(), std::optional(Foundation::URL::fileURLWithPath(String((home / "Documents").string()), true)));
    auto field = driver().find<UIKit::UITextField>(String(UIKit::UIDocumentPickerViewController::pathFieldIdentifier));
    ASSERT_NE(field, nullptr);
    field->setText(String((home / "a file").string()));
    picker()->open();
    settle();
    ASSERT_NE(picker(), nullptr) << "a file is no folder";
    field->setText(String((home / "Backups").string()));
    picker()->open();
    finishPresentation();
    const auto backups = Foundation::URL::fileURLWithPath(String((home / "Backups").string()), true);
    EXPECT_EQ(dependencies().preferenceStore->backupFolder(), std::optional(backups));
    EXPECT_EQ(lockScreen()->authenticationVC()->state().locationURL(), std::optional(backups));

    coordinator->didSelectChooseLocation(*coordinator->authenticationVC());
    settle();
    ASSERT_NE(picker(), nullptr);
    EXPECT_EQ(picker()->directoryURL(), std::optional(backups)) << "the stored folder first";
    picker()->cancel();
    finishPresentation();
    EXPECT_EQ(dependencies().preferenceStore->backupFolder(), std::optional(backups)) << "a cancelled picker changes nothing";

    coordinator->didSelectClearLocation(*coordinator->authenticationVC());
    settle();
    EXPECT_EQ(dependencies().preferenceStore->backupFolder(), std::nullopt);
    press();
    ASSERT_EQ(screenState(), VState::indexOf<VState::SyncOnboarding>) << "set-up: sync";
    press();
    EXPECT_TRUE(store()->authenticationState().isAuthenticated());
}

} // namespace

namespace {

class ChangingTheMasterPassword : public LockScreen {};

TEST_F(ChangingTheMasterPassword, TakesTheCurrentOneThenTheNewOneTwiceAndCancelsBackToTheVault)
{
    store()->beginChangingMasterPassword();
    settle();
    ASSERT_EQ(screenState(), VState::indexOf<VState::ChangeMasterPasswordEntry>);
    EXPECT_TRUE(lockScreen()->authenticationWindow()->isKeyWindow());
    type("not the master password");
    EXPECT_EQ(screenState(), VState::indexOf<VState::ChangeMasterPasswordEntry>);
    ASSERT_TRUE(lockScreen()->authenticationVC()->state().entryAttemptState().has_value());
    press();
    EXPECT_FALSE(lockScreen()->authenticationVC()->state().entryAttemptState().has_value()) << "the attempt is acknowledged";
    type(CorvendaleTests::masterPassword);
    ASSERT_EQ(screenState(), VState::indexOf<VState::NewMasterPasswordEntry>);
    EXPECT_TRUE(lockScreen()->entryText().isEmpty()) << "the texts are cleared";
    type(newMasterPassword, String("something else entirely"));
    EXPECT_EQ(screenState(), VState::indexOf<VState::NewMasterPasswordEntry>) << "repetitions that differ are not taken";
    EXPECT_EQ(lockScreen()->reEntryText(), String("something else entirely"));
    lockScreen()->didSelectCancel(*lockScreen()->authenticationVC());
    settle();
    EXPECT_TRUE(store()->authenticationState().isAuthenticated()) << "cancelled: back to the vault";

    store()->beginChangingMasterPassword();
    settle();
    type(CorvendaleTests::masterPassword);
    type(newMasterPassword, String(newMasterPassword));
    ASSERT_TRUE(store()->authenticationState().isAuthenticated());
    lock();
    type(CorvendaleTests::masterPassword);
    EXPECT_FALSE(store()->authenticationState().isAuthenticated()) << "the old one no longer opens the vault";
    press();
    type(newMasterPassword);
    EXPECT_TRUE(store()->authenticationState().isAuthenticated());
}

} // namespace

namespace {

TEST_F(LockScreen, WhileLockedTheDebugInformationCommandOffersTheAnalyticsIdentifierByMail)
{
    lock();
    UIKit::UIMenuSystem::main()->setNeedsRebuild();
    driver().chooseMenuItem({"Help", "Advanced", "Send Debug Information"});
    auto sheet = std::dynamic_pointer_cast<UIKit::UIAlertController>(lockScreen()->presentedViewController());
    ASSERT_NE(sheet, nullptr) << "the lock screen answers while locked";
    EXPECT_EQ(sheet->title(), std::optional<String>("Send Debug Information"));
    EXPECT_EQ(sheet->preferredStyle(), UIKit::UIAlertController::Style::actionSheet);
    chooseAlertAction("Analytics ID Only");
    auto opened = UIKit::UIApplication::shared()->openedURLs();
    ASSERT_FALSE(opened.empty());
    EXPECT_EQ(opened.back().scheme(), "mailto");
    EXPECT_NE(opened.back().absoluteString().utf8().find(dependencies().analyticsStore->analyticsIdentifier().uuidString().utf8()),
              std::string::npos);
}

} // namespace

namespace {

TEST_F(LockScreen, TypingTheMasterPasswordAndReturnUnlocksAsAPersonDoes)
{
    lock();
    auto hands = driver();
    hands.type(CorvendaleTests::masterPassword);
    EXPECT_EQ(lockScreen()->entryText(), String(CorvendaleTests::masterPassword)) << "every keystroke reaches the coordinator";
    EXPECT_EQ(lockScreen()->authenticationVC()->state().entryText(), std::optional<String>(CorvendaleTests::masterPassword));
    hands.press("Return");
    settle();
    EXPECT_TRUE(store()->authenticationState().isAuthenticated());
    EXPECT_TRUE(lockScreen()->entryText().isEmpty()) << "the typed password is not kept";
}

} // namespace
