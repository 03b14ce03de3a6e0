#include "Tests/Corvendale/App/ProgramFixture.hpp"
#include "Tests/Corvendale/Screens/Items/UnlockedContainer.hpp"

#include "Corvendale/App/MainCoordinator.hpp"
#include "Corvendale/App/SceneCoordinator.hpp"
#include "Corvendale/Screens/Settings/AppearanceC.hpp"
#include "Corvendale/Screens/Settings/AppearanceV.hpp"
#include "Corvendale/Screens/Settings/AuthSettingsC.hpp"
#include "Corvendale/Screens/Settings/AuthSettingsV.hpp"
#include "Corvendale/Screens/Settings/SendDebugInfoC.hpp"
#include "Corvendale/Screens/Settings/SettingsV.OptionSettingV.hpp"
#include "Corvendale/Screens/Settings/SettingsC.hpp"
#include "Corvendale/Screens/Settings/SettingsTVC.hpp"
#include "Corvendale/Screens/Settings/SettingsVC.hpp"

#include "Shared/Metricove/AnalyticsStore.hpp"
#include "Shared/Screens/AuthenticationV.State.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Tests/Shared/Stores/RecordStoreFixture.hpp"

#include "Basalwork/Interface/AlertController.hpp"
#include "Basalwork/Interface/Array.hpp"

#include "Tests/Support/Driver.hpp"

#include "Platform/Foundation/UUID.hpp"
#include "Platform/UIKit/UIAlertController.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UICommand.hpp"
#include "Platform/UIKit/UITraitCollection.hpp"
#include "Platform/UIKit/UIUserInterfaceStyle.hpp"
#include "Basalwork/Interface/UserInteractionNotifyingWindow.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"
#include "Platform/UIKit/UIMenuSystem.hpp"
#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Foundation::String;

// The settings as the program opens them from its unlocked window.
class SettingsInTheProgram : public CorvendaleTests::Program {
protected:
    void SetUp() override
    {
        Program::SetUp();
        CorvendaleTests::prepareUnlockedEmptyContainer();
        settle();
        sceneDelegate()->window()->setFrame({0, 0, 1200, 800});
        sceneDelegate()->window()->layoutIfNeeded();
        driver = std::make_unique<TestSupport::Driver>(
            std::dynamic_pointer_cast<UIKit::UIWindowScene>(UIKit::UIApplication::shared()->connectedScenes().back()));
        UIKit::UIMenuSystem::main()->setNeedsRebuild();
    }
    void TearDown() override
    {
        UIKit::UIApplication::setExternalURLHandler({});
        driver.reset();
        Program::TearDown();
    }

    std::shared_ptr<Corvendale::MainCoordinator> main() const { return sceneDelegate()->sceneCoordinator()->mainCoordinator(); }
    std::shared_ptr<Corvendale::SettingsC> settings() const { return std::dynamic_pointer_cast<Corvendale::SettingsC>(main()->presentedViewController()); }
    bool enabled(const std::vector<String>& path)
    {
        auto item = driver->menuItem(path);
        return item && UIKit::UIMenuSystem::isEnabled(*item);
    }
    std::shared_ptr<UIKit::UIAlertController> sheet(UIKit::UIViewController& presenter) const
    {
        return std::dynamic_pointer_cast<UIKit::UIAlertController>(presenter.presentedViewController());
    }

    void openSettings()
    {
        driver->press(String(","), UIKit::UIKeyModifierFlags::command());
        TestSupport::advanceClock(1);
        settle();
        sceneDelegate()->window()->layoutIfNeeded();
        ASSERT_NE(settings(), nullptr);
    }
    template <class Page>
    std::shared_ptr<Page> page() const
    {
        return std::dynamic_pointer_cast<Page>(settings()->presentedViewController());
    }
    void closeSettings()
    {
        settings()->dismissSettings();
        TestSupport::advanceClock(1);
        settle();
    }

    std::unique_ptr<TestSupport::Driver> driver;
};

TEST_F(SettingsInTheProgram, CommandCommaOpensTheSettingsAndEscapeClosesThem)
{
    EXPECT_TRUE(enabled({"Corvendale", "Settings..."}));
    EXPECT_TRUE(driver->find<UIKit::UIButton>(String("EntriesVC.settings"))->isEnabled());
    driver->press(String(","), UIKit::UIKeyModifierFlags::command());
    TestSupport::advanceClock(1);
    settle();
    sceneDelegate()->window()->layoutIfNeeded();
    ASSERT_NE(settings(), nullptr);
    const auto rows = Basalwork::allItems(settings()->settingsVC()->settingsTVC()->sections());
    ASSERT_NE(rows.back().appVersionConfig(), nullptr);
    EXPECT_EQ(rows.back().appVersionConfig()->versionText, std::optional(String("Version 3.1.0 (build 310)")));

    // The version text opens the debug-information sheet, pointing at it.
    auto table = settings()->settingsVC()->settingsTVC();
    for (int i = 0; i < 5; ++i) {
        table->scrollToItem(String("versionBuild"), UIKit::UITableView::ScrollPosition::bottom, false);
        sceneDelegate()->window()->layoutIfNeeded();
    }
    driver->tap(String("Version 3.1.0 (build 310)"));
    auto debugSheet = sheet(*settings());
    ASSERT_NE(debugSheet, nullptr);
    EXPECT_EQ(debugSheet->title(), std::optional(String("Send Debug Information")));
    driver->chooseAlertAction(String("Cancel"));
    TestSupport::advanceClock(1);
    EXPECT_EQ(settings()->presentedViewController(), nullptr);

    driver->press(String("Down"));
    driver->press(String("Escape"));
    TestSupport::advanceClock(1);
    settle();
    EXPECT_EQ(main()->presentedViewController(), nullptr);

    driver->tap(String("EntriesVC.settings"));
    TestSupport::advanceClock(1);
    settle();
    sceneDelegate()->window()->layoutIfNeeded();
    ASSERT_NE(settings(), nullptr) << "the list's settings button opens them too";
    driver->tap(String("Done"));
    TestSupport::advanceClock(1);
    settle();
    EXPECT_EQ(main()->presentedViewController(), nullptr);
}

TEST_F(SettingsInTheProgram, TheUnlockedWindowSendsTheAnalyticsIdentifierAloneUnderItsOwnSubject)
{
    driver->chooseMenuItem({"Help", "Advanced", "Send Debug Information"});
    auto shown = sheet(*main());
    ASSERT_NE(shown, nullptr) << "the unlocked window answers the command";
    EXPECT_EQ(shown->message(), std::optional(String("Please select the type(s) of debug information you'd like to send to us.")));
    driver->chooseAlertAction(String("Analytics ID Only"));
    auto opened = UIKit::UIApplication::shared()->openedURLs();
    ASSERT_FALSE(opened.empty());
    const auto mail = opened.back().absoluteString().utf8();
    EXPECT_EQ(opened.back().scheme(), "mailto");
    EXPECT_NE(mail.find("subject=Debug%20Information%3A%20Analytics%20ID%20Only"), std::string::npos) << mail;
    const auto identifier = Corvendale::dependencies().analyticsStore->analyticsIdentifier().uuidString().utf8();
    EXPECT_NE(mail.find("body=Analytics%20ID%3A%20" + identifier), std::string::npos) << mail;
    EXPECT_EQ(mail.find("&", mail.find("body=")), std::string::npos) << "nothing but the identifier";
}

TEST_F(SettingsInTheProgram, WithoutAMailProgramTheSheetSaysTheIdentifierCouldNotBeSent)
{
    UIKit::UIApplication::setExternalURLHandler({[](const Foundation::URL&) { return false; }, nullptr});
    const auto opened = UIKit::UIApplication::shared()->openedURLs().size();
    Corvendale::SendDebugInfoC::sendAnalyticsID(*main(), false);
    settle();
    auto notice = sheet(*main());
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->title(), std::optional(String("Unable to Send Mail")));
    EXPECT_NE(notice->message().value_or(String()).utf8().find("Sending Analytics ID"), std::string::npos);
    EXPECT_EQ(UIKit::UIApplication::shared()->openedURLs().size(), opened);
}

TEST_F(SettingsInTheProgram, TheMasterPasswordChangedFromTheSettingsOpensEveryItemAndTheOldOneNothing)
{
    const auto& records = Corvendale::dependencies().recordStore;
    auto bank = SharedTests::addEntry(*records, String("Bank"), String("hunter2"));
    auto mail = SharedTests::addEntry(*records, String("Mail"), String("swordfish"));
    openSettings();
    settings()->didSelectChangeMasterPassword(*settings()->settingsVC()->settingsTVC());
    settle();
    ASSERT_EQ(screenState(), Shared::AuthenticationVState::indexOf<Shared::AuthenticationVState::ChangeMasterPasswordEntry>);
    type(CorvendaleTests::masterPassword);
    ASSERT_EQ(screenState(), Shared::AuthenticationVState::indexOf<Shared::AuthenticationVState::NewMasterPasswordEntry>);
    const String changed("a changed master password");
    type(changed, changed);
    ASSERT_TRUE(store()->authenticationState().isAuthenticated());

    store()->lock(Shared::AuthenticationStore::LockKind::requireMasterPassword, true, false, "test");
    settle();
    type(CorvendaleTests::masterPassword);
    EXPECT_FALSE(store()->authenticationState().isAuthenticated()) << "the old password is refused";
    type(String());
    type(changed);
    ASSERT_TRUE(store()->authenticationState().isAuthenticated());
    EXPECT_EQ(records->entry(bank)->password, String("hunter2"));
    EXPECT_EQ(records->entry(mail)->password, String("swordfish"));

    // The process's container outlives the test: its master password goes back.
    store()->beginChangingMasterPassword();
    store()->verifyMasterPasswordToChange(changed);
    store()->changeMasterPassword(String(CorvendaleTests::masterPassword));
    settle();
    records->permanentlyDelete({bank, mail});
}

TEST_F(SettingsInTheProgram, TheAutoLockAndTheColorSchemeChosenOnTheirPagesAreFollowedAtOnce)
{
    const auto& preferences = Corvendale::dependencies().preferenceStore;
    openSettings();
    settings()->didSelectAuthentication(*settings()->settingsVC()->settingsTVC());
    settle();
    ASSERT_NE(page<Corvendale::AuthSettingsC>(), nullptr);
    page<Corvendale::AuthSettingsC>()->customView()->autoLockV()->onSelection(Shared::Settings::Auth::AutoLock::fiveMinutes);
    settle();
    closeSettings();
    ASSERT_EQ(preferences->autoLock(), Shared::Settings::Auth::AutoLock::fiveMinutes);
    Basalwork::UserInteractionNotifyingWindow::handleUserInteractionEvent();
    TestSupport::advanceClock(290);
    EXPECT_TRUE(store()->authenticationState().isAuthenticated());
    TestSupport::advanceClock(15);
    EXPECT_FALSE(store()->authenticationState().isAuthenticated()) << "the inactivity monitor took the new interval";
    type(String(CorvendaleTests::masterPassword));
    ASSERT_TRUE(store()->authenticationState().isAuthenticated());
    preferences->setAutoLock(Shared::Settings::Auth::AutoLock::fifteenMinutes);

    openSettings();
    settings()->didSelectAppearance(*settings()->settingsVC()->settingsTVC());
    settle();
    ASSERT_NE(page<Corvendale::AppearanceC>(), nullptr);
    page<Corvendale::AppearanceC>()->customView()->colorSchemeV()->onSelection(Shared::Settings::Appearance::ColorScheme::alwaysDark);
    settle();
    auto check = [&](const char* title) {
        auto command = std::dynamic_pointer_cast<UIKit::UICommand>(driver->menuItem({"View", "Color Scheme", title}));
        return command ? command->state() : UIKit::UIMenuElement::State::mixed;
    };
    EXPECT_EQ(check("Always dark"), UIKit::UIMenuElement::State::on) << "the menu bar's check mark moved";
    EXPECT_EQ(check("Match system"), UIKit::UIMenuElement::State::off);
    EXPECT_EQ(main()->view()->traitCollection().userInterfaceStyle, UIKit::UIUserInterfaceStyle::dark)
        << "the unlocked window takes the dark scheme, and the terminal draws its colours from it";
    preferences->setColorScheme(Shared::Settings::Appearance::ColorScheme::matchSystem);
}

TEST_F(SettingsInTheProgram, TheFileMenuMovesNothingInOrOutWhileTheVaultIsOpenForInspection)
{
    const auto& records = Corvendale::dependencies().recordStore;
    records->setSafeForInspectionPassword(String("for the border"));
    auto unlockWith = [&](const char* password) {
        store()->lock(Shared::AuthenticationStore::LockKind::requireMasterPassword, true, false, "test");
        settle();
        type(String(password));
        ASSERT_TRUE(store()->authenticationState().isAuthenticated());
    };
    ASSERT_TRUE(enabled({"File", "Import..."}));
    unlockWith("for the border");
    for (const char* title : {"Import...", "Export...", "Backup...", "Restore..."})
        EXPECT_EQ(driver->core().menuBarItem({"File", title}), nullptr) << title << " in the mode";
    unlockWith(CorvendaleTests::masterPassword);
    EXPECT_NE(driver->core().menuBarItem({"File", "Import..."}), nullptr) << "back with the master password";
    records->setSafeForInspectionPassword(std::nullopt);
}

} // namespace
