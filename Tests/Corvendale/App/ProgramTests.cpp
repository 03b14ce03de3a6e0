#include "Tests/Corvendale/App/ProgramFixture.hpp"
#include "Tests/Corvendale/Screens/Items/UnlockedContainer.hpp"

#include "Corvendale/App/AppDelegate.hpp"
#include "Corvendale/App/AuthenticationCoordinator.hpp"
#include "Corvendale/App/InAppNotificationC.hpp"
#include "Corvendale/App/MainCoordinator.hpp"
#include "Corvendale/App/SceneCoordinator.hpp"
#include "Corvendale/App/SceneDelegate.hpp"
#include "Corvendale/Services/SyncCoordinator.hpp"
#include "Shared/Syncwright/SyncStatus.hpp"

#include "Shared/Model/AuthenticationState.hpp"
#include "Shared/Model/Entry.Filter.hpp"
#include "Shared/Model/Entry.SystemField.hpp"
#include "Shared/Model/Settings.Auth.hpp"
#include "Shared/Model/Settings.Items.hpp"
#include "Shared/Screens/AuthenticationV.State.hpp"
#include "Shared/Screens/AuthenticationVC.hpp"
#include "Shared/Screens/EntriesVC.hpp"
#include "Shared/Screens/EntryDetailsVC.State.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.EditingContext.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Corvendale/Screens/Details/EntryDetailsCoordinator.hpp"
#include "Platform/CloudKit/CKContainer.hpp"
#include "Platform/CloudKit/CKDatabase.hpp"
#include "Platform/CloudKit/CKModifyRecordZonesOperation.hpp"
#include "Platform/CloudKit/CKRecordZone.hpp"
#include "Platform/CloudKit/CKSimulation.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"
#include "Platform/UIKit/UIMenuSystem.hpp"
#include "Platform/UIKit/UITextField.hpp"

#include "Tests/Support/Driver.hpp"
#include "Tests/Support/MainLoop.hpp"

#include "Basalwork/Interface/UserInteractionNotifyingWindow.hpp"

#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIWindow.Level.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <chrono>
#include <filesystem>
#include <thread>
#include <gtest/gtest.h>

using namespace Corvendale;
using Foundation::make;
using VState = Shared::AuthenticationVState;

namespace {

using CorvendaleTests::Program;

TEST_F(Program, AFirstLaunchCreatesTheMasterPasswordAndReachesTheSplitViewThenLocksAgainAfterTheAutoLockInterval)
{
    ASSERT_NE(sceneDelegate(), nullptr) << "the manifest names the scene delegate";
    auto coordinator = sceneDelegate()->sceneCoordinator();
    auto mainWindow = sceneDelegate()->window();
    const auto& lockWindow = lockScreen()->authenticationWindow();
    EXPECT_EQ(mainWindow->accessibilityIdentifier(), Foundation::String("mainWindow"));
    EXPECT_EQ(lockWindow->accessibilityIdentifier(), Foundation::String("authenticationWindow"));
    EXPECT_EQ(lockWindow->windowLevel().rawValue, 500);
    EXPECT_EQ(coordinator->inAppNotificationC()->inAppNotificationWindow()->windowLevel().rawValue, 490);
    EXPECT_EQ(mainWindow->windowLevel(), UIKit::UIWindow::Level::normal());

    if (!store()->authenticationState().isAuthenticated() && screenState() == VState::indexOf<VState::CreateMasterPassword>) {
        EXPECT_TRUE(lockWindow->isKeyWindow()) << "the program starts on the lock screen";
        type("short", Foundation::String("short"));
        EXPECT_EQ(screenState(), VState::indexOf<VState::CreateMasterPassword>) << "a master password that is too short is refused";
        type(CorvendaleTests::masterPassword, Foundation::String(CorvendaleTests::masterPassword));
        // The set-up steps: AutoFill, automatic backups, sync.
        for (std::int64_t step : {VState::indexOf<VState::AutoFillOnboarding>, VState::indexOf<VState::AutomaticBackupsOnboarding>,
                                   VState::indexOf<VState::SyncOnboarding>}) {
            EXPECT_EQ(screenState(), step);
            type("");
        }
        } else {
        CorvendaleTests::unlockVault();
        settle();
    }
    ASSERT_TRUE(store()->authenticationState().isAuthenticated()) << store()->authenticationState().index();
    EXPECT_TRUE(mainWindow->isKeyWindow());
    EXPECT_FALSE(lockWindow->isHidden()) << "the lock window stays, taking no input";
    EXPECT_FALSE(lockWindow->isUserInteractionEnabled());
    EXPECT_EQ(screenState(), VState::indexOf<VState::Authenticated>);
    EXPECT_NE(mainWindow->rootViewController(), nullptr);

    dependencies().preferenceStore->setAutoLock(Shared::Settings::Auth::AutoLock::fiveMinutes);
    TestSupport::runMainLoopUntilIdle();
    Basalwork::UserInteractionNotifyingWindow::handleUserInteractionEvent();
    TestSupport::advanceClock(299);
    EXPECT_TRUE(store()->authenticationState().isAuthenticated());
    TestSupport::advanceClock(2);
    EXPECT_FALSE(store()->authenticationState().isAuthenticated()) << "inactivity locks";
    EXPECT_TRUE(lockWindow->isKeyWindow());
    EXPECT_TRUE(lockWindow->isUserInteractionEnabled());
    EXPECT_EQ(screenState(), VState::indexOf<VState::Locked>) << "the locked screen";

    type("wrong password");
    EXPECT_FALSE(store()->authenticationState().isAuthenticated());
    EXPECT_EQ(screenState(), VState::indexOf<VState::Locked>);
    EXPECT_TRUE(store()->authenticationState().entryAttemptState().has_value()) << "the attempt is shown";
    type("") /* the rejected attempt acknowledged */;
    type(CorvendaleTests::masterPassword);
    EXPECT_TRUE(store()->authenticationState().isAuthenticated());
    EXPECT_TRUE(mainWindow->isKeyWindow());
}

TEST_F(Program, WithTheAutoLockOffTheMonitorHasNoThresholdAndTheLockCommandsFollowTheState)
{
    EXPECT_EQ(SceneCoordinator::inactivityThreshold(0), std::optional<double>(300));
    EXPECT_EQ(SceneCoordinator::inactivityThreshold(4), std::optional<double>(18000));
    EXPECT_EQ(SceneCoordinator::inactivityThreshold(5), std::nullopt);
    CorvendaleTests::unlockVault();
    settle();
    dependencies().preferenceStore->setAutoLock(Shared::Settings::Auth::AutoLock::never);
    TestSupport::runMainLoopUntilIdle();
    TestSupport::advanceClock(100000);
    EXPECT_TRUE(store()->authenticationState().isAuthenticated());

    auto delegate = std::dynamic_pointer_cast<AppDelegate>(UIKit::UIApplication::shared()->delegate());
    ASSERT_NE(delegate, nullptr);
    EXPECT_TRUE(delegate->canPerformAction(Foundation::Selector("handleLockCommand"), nullptr));
    delegate->handleLockCommand();
    TestSupport::runMainLoopUntilIdle();
    EXPECT_FALSE(delegate->canPerformAction(Foundation::Selector("handleLockCommand"), nullptr));
    EXPECT_FALSE(delegate->canPerformAction(Foundation::Selector("handleLockAndRequireMasterPasswordCommand"), nullptr));
    TestSupport::advanceClock(1000);
}

TEST_F(Program, AFileOpenedWhileLockedWaitsForTheUnlockAndALaterOneReplacesIt)
{
    CorvendaleTests::unlockVault();
    store()->lock(Shared::AuthenticationStore::LockKind::allowBiometry, true, false, "test");
    TestSupport::runMainLoopUntilIdle();
    auto coordinator = sceneDelegate()->sceneCoordinator();
    coordinator->handle(Foundation::URL::fileURLWithPath("/tmp/first.csv"));
    coordinator->handle(Foundation::URL::fileURLWithPath("/tmp/second.csv"));
    EXPECT_EQ(coordinator->urlToHandleOnAuthentication(), Foundation::URL::fileURLWithPath("/tmp/second.csv"));
    CorvendaleTests::unlockVault();
    settle();
    EXPECT_EQ(coordinator->urlToHandleOnAuthentication(), std::nullopt);
}

TEST_F(Program, AnUnlockedWindowAddsALoginSelectsItAndActsOnItThroughItsKeysAndMenus)
{
    CorvendaleTests::prepareUnlockedEmptyContainer();
    settle();
    // Offline: no remote records of other tests come back while this one acts.
    CloudKit::CKSimulation::injectFailure({CloudKit::CKError::Code::networkUnavailable, CloudKit::CKSimulation::Operation::any, std::nullopt, 0, std::nullopt});
    ASSERT_TRUE(store()->authenticationState().isAuthenticated());
    auto main = sceneDelegate()->sceneCoordinator()->mainCoordinator();
    // The size of a desktop window: the list and the details side by side.
    auto mainWindow = sceneDelegate()->window();
    mainWindow->setFrame({0, 0, 1200, 800});
    mainWindow->layoutIfNeeded();
    auto scene = std::dynamic_pointer_cast<UIKit::UIWindowScene>(UIKit::UIApplication::shared()->connectedScenes().back());
    TestSupport::Driver driver(scene);
    const auto& records = dependencies().recordStore;
    auto before = records->count(Shared::EntryFilter::allItems());

    // A new login from the key command, named in the details and saved from the menu bar.
    driver.press("n", UIKit::UIKeyModifierFlags::command());
    TestSupport::advanceClock(0.1);
    settle();
    const auto& details = main->entryDetailsCoordinator()->state();
    ASSERT_TRUE(details.is<Shared::EntryDetailsVCState::Editing>());
    auto id = *details.entryID();
    details.editingPayload()->editingContext->setText("Mail", Shared::EntrySystemField::ID::title, id);
    driver.chooseMenuItem({"Item", "Save"});
    settle();
    ASSERT_EQ(records->count(Shared::EntryFilter::allItems()), before + 1);
    EXPECT_EQ(records->entry(id)->title, Foundation::String("Mail"));

    // Selected in the list, the details show it.
    driver.tap(Foundation::String("Mail"));
    settle();
    EXPECT_EQ(main->entriesVC()->selectedEntryIDs(), std::vector<Foundation::String> {id});
    EXPECT_TRUE(main->isDisplayingEntry(id));

    // Favourite by its key equivalent, then through the menu, which now reads "Unfavorite".
    driver.press("f", UIKit::UIKeyModifierFlags::command() | UIKit::UIKeyModifierFlags::shift());
    settle();
    EXPECT_TRUE(records->entry(id)->isFavorite);
    driver.chooseMenuItem({"Item", "Unfavorite"});
    settle();
    EXPECT_FALSE(records->entry(id)->isFavorite);

    // To the trash and back.
    dependencies().preferenceStore->setMoveToTrashConfirmation(Shared::Settings::Items::MoveToTrashConfirmation::disabled);
    driver.chooseMenuItem({"Item", "Move to Trash"});
    settle();
    EXPECT_TRUE(records->entry(id)->isTrashed());
    driver.press("9", UIKit::UIKeyModifierFlags::command());
    settle();
    driver.tap(Foundation::String("Mail"));
    settle();
    driver.chooseMenuItem({"Item", "Restore"});
    settle();
    EXPECT_FALSE(records->entry(id)->isTrashed());
    CloudKit::CKSimulation::removeInjectedFailures();
}

TEST_F(Program, EditFindAndItsKeyFocusTheSearchFieldWhereverTheKeyboardsFocusIs)
{
    CorvendaleTests::prepareUnlockedEmptyContainer();
    settle();
    ASSERT_TRUE(store()->authenticationState().isAuthenticated());
    auto main = sceneDelegate()->sceneCoordinator()->mainCoordinator();
    auto mainWindow = sceneDelegate()->window();
    mainWindow->setFrame({0, 0, 1200, 800});
    mainWindow->layoutIfNeeded();
    auto scene = std::dynamic_pointer_cast<UIKit::UIWindowScene>(UIKit::UIApplication::shared()->connectedScenes().back());
    TestSupport::Driver driver(scene);
    auto& core = driver.core();
    const auto& search = main->entriesVC()->searchField();

    // The keyboard's focus on the new-item button: nothing is first responder, and the window's commands
    // still reach the window's coordinator from there.
    ASSERT_TRUE(core.focus(driver.find("EntriesVC.newItem")));
    driver.settle();
    ASSERT_FALSE(mainWindow->firstResponder());
    auto find = driver.menuItem({"Edit", "Find"});
    ASSERT_TRUE(find);
    EXPECT_TRUE(UIKit::UIMenuSystem::isEnabled(*find));
    driver.chooseMenuItem({"Edit", "Find"});
    EXPECT_TRUE(search->isFirstResponder());
    EXPECT_EQ(core.focusedView(), search);

    // Its key, from a focused button again.
    ASSERT_TRUE(core.focus(driver.find("EntriesVC.newItem")));
    driver.settle();
    ASSERT_FALSE(search->isFirstResponder());
    EXPECT_TRUE(core.pressNavigating(Foundation::String("f"), UIKit::UIKeyModifierFlags::command()));
    driver.settle();
    EXPECT_TRUE(search->isFirstResponder());

    // Return presses a focused button rather than what the list does with Return: the new-item menu shows.
    ASSERT_TRUE(core.focus(driver.find("EntriesVC.newItem")));
    EXPECT_TRUE(core.pressNavigating(Foundation::String("Return")));
    driver.settle();
    EXPECT_TRUE(mainWindow->shownMenu());
}

// A batch that appears in the account's container is a push: the running program syncs at once rather
// than at its next activation.
TEST_F(Program, ABatchWrittenToTheAccountsContainerSyncsTheRunningProgram)
{
    CorvendaleTests::unlockVault();
    CloudKit::CKSimulation::setAccount(Foundation::String("_localAccount"));
    settle();
    const auto& remote = dependencies().syncCoordinator->cloudKitRemote();
    ASSERT_TRUE(remote->mostRecentCompletedFetchDate().has_value()) << "the account change's own sync";
    const auto before = *remote->mostRecentCompletedFetchDate();
    TestSupport::advanceClock(60);

    // The other installation is this process's own writer here, so its batches are announced too.
    CloudKit::CKSimulation::setDeliversPushesForOwnBatches(true);
    auto zone = make<CloudKit::CKRecordZone>(Foundation::String("ElsewhereZone"));
    auto operation = make<CloudKit::CKModifyRecordZonesOperation>(std::vector {zone}, std::nullopt);
    remote->ckContainer()->privateCloudDatabase()->add(operation);
    operation->waitUntilFinished();
    // The push comes from the container's watcher thread.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (remote->mostRecentCompletedFetchDate() == before && std::chrono::steady_clock::now() < deadline) {
        settle();
        std::this_thread::yield();
    }
    settle();
    CloudKit::CKSimulation::setDeliversPushesForOwnBatches(false);
    CloudKit::CKSimulation::setAccount(std::nullopt);
    settle();
    EXPECT_GT(remote->mostRecentCompletedFetchDate().value_or(before), before);
}

} // namespace
