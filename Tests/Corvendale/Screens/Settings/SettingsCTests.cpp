#include "Tests/Corvendale/App/MainCoordinatorFixture.hpp"

#include "Corvendale/Screens/Settings/SettingCell.hpp"
#include "Corvendale/Screens/Settings/SettingsC.hpp"
#include "Corvendale/Screens/Settings/SettingsTVC.hpp"
#include "Corvendale/Screens/Settings/SettingsVC.hpp"

#include "Shared/Model/AuthenticationState.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Transfer/BackupStore.hpp"
#include "Shared/Model/Global.hpp"
#include "Shared/Screens/UIColor.hpp"
#include "Shared/Stores/PreferenceStore.hpp"

#include "Basalwork/Interface/AlertController.hpp"
#include "Basalwork/Interface/Array.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIAlertController.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UITableView.hpp"

#include <algorithm>

using Corvendale::SettingsC;
using Foundation::String;
using Item = Corvendale::SettingsTVCSectionItem;
using SettingCell = Corvendale::SettingCell;

namespace {

class Settings : public CorvendaleTests::MainCoordinatorFixture {
protected:
    void SetUp() override
    {
        MainCoordinatorFixture::SetUp();
        // The fixture's banner window is a plain window in front: taps go to the settings beneath it.
        if (auto banners = delegate->banners->view()->window())
            banners->setIsHidden(true);
        show();
    }
    void TearDown() override
    {
        preferences()->setIsSafeForInspectionModeActivated(false);
        MainCoordinatorFixture::TearDown();
    }

    std::shared_ptr<SettingsC> open()
    {
        coordinator->presentSettings(false);
        settle();
        window->layoutIfNeeded();
        auto settings = presentedSettings();
        EXPECT_NE(settings, nullptr);
        return settings;
    }
    std::shared_ptr<SettingsC> presentedSettings() const { return std::dynamic_pointer_cast<SettingsC>(coordinator->presentedViewController()); }
    std::shared_ptr<Corvendale::SettingsTVC> list() const { return presentedSettings()->settingsVC()->settingsTVC(); }
    static const std::shared_ptr<Shared::PreferenceStore>& preferences() { return CorvendaleTests::inMemoryDependencies().preferenceStore; }

    std::vector<String> rowTitles() const
    {
        std::vector<String> titles;
        for (const auto& item : Basalwork::allItems(list()->sections()))
            titles.push_back(item.settingConfig() ? item.settingConfig()->titleText.value_or(String()) : String("(version)"));
        return titles;
    }
    std::optional<String> selectedTitle() const
    {
        auto indexPath = list()->tableView()->indexPathForSelectedRow();
        if (!indexPath)
            return std::nullopt;
        auto item = Basalwork::item(list()->sections(), *indexPath);
        return item && item->settingConfig() ? item->settingConfig()->titleText : std::nullopt;
    }
    const SettingCell::Config* row(const char* id) const
    {
        for (const auto& section : list()->sections())
            for (const auto& item : section.items())
                if (item.id() == String(id))
                    return item.settingConfig();
        return nullptr;
    }
    std::shared_ptr<Corvendale::SettingCell> cell(const char* id) const
    {
        auto indexPath = Basalwork::indexPathOfItem(list()->sections(), String(id));
        return indexPath ? std::dynamic_pointer_cast<Corvendale::SettingCell>(list()->tableView()->cellForRow(*indexPath)) : nullptr;
    }
    // Dismissals are animated: the clock moves on until they end.
    void press(const char* key, UIKit::UIKeyModifierFlags modifiers = {})
    {
        driver.press(String(key), modifiers);
        TestSupport::advanceClock(1);
        window->layoutIfNeeded();
    }
};

const std::vector<String> allRows {"Authentication & Security", Shared::Global::AutoFill::name(), "Appearance", "Item List & Search",
                                   "Item Details", Shared::Global::ImportItems::name(), Shared::Global::ExportItems::name(), "Backup & Restore",
                                   Shared::Global::SafeForInspection::mode(), "Change Master Password", "Reset " + Shared::Global::corvendale(),
                                   "Questions?", "(version)"};

TEST_F(Settings, TheListShowsEveryRowAndOnlyFiveWhileSafeForInspection)
{
    open();
    EXPECT_EQ(rowTitles(), allRows);
    const auto* importItems = row("importItems");
    ASSERT_NE(importItems, nullptr);
    EXPECT_NE(importItems->subtitleText->utf8().find("Vivaldi, Safari, KeePass, Password Safe, or SplashID."), std::string::npos)
        << importItems->subtitleText->utf8();

    preferences()->setIsSafeForInspectionModeActivated(true);
    settle();
    EXPECT_EQ(rowTitles(), (std::vector<String> {Shared::Global::AutoFill::name(), "Appearance", "Item List & Search", "Item Details",
                                                 "Questions?", "(version)"}));
    press("Down");
    EXPECT_EQ(selectedTitle(), Shared::Global::AutoFill::name()) << "the first row of the mode";
    preferences()->setIsSafeForInspectionModeActivated(false);
    settle();
    EXPECT_EQ(rowTitles(), allRows);
}

TEST_F(Settings, TheKeyboardMovesTheSelectionWithinTheSettingsRows)
{
    open();
    press("Return");
    EXPECT_EQ(selectedTitle(), std::nullopt) << "Return without a selection does nothing";
    press("Up");
    EXPECT_EQ(selectedTitle(), std::nullopt);
    press("Down");
    EXPECT_EQ(selectedTitle(), String("Authentication & Security"));
    press("Up");
    EXPECT_EQ(selectedTitle(), String("Authentication & Security")) << "nothing above the first row";
    press("Tab");
    EXPECT_EQ(selectedTitle(), Shared::Global::AutoFill::name());
    press("Down");
    EXPECT_EQ(selectedTitle(), String("Appearance"));
    press("Tab", UIKit::UIKeyModifierFlags::shift());
    EXPECT_EQ(selectedTitle(), Shared::Global::AutoFill::name());
    press("Up");
    EXPECT_EQ(selectedTitle(), String("Authentication & Security"));
    for (int i = 0; i < 20; ++i)
        press("Down");
    EXPECT_EQ(selectedTitle(), String("Questions?")) << "the version row is never selected from the keyboard";
    EXPECT_EQ(presentedSettings(), coordinator->presentedViewController());
}

TEST_F(Settings, ReturnActsOnTheSelectedRow)
{
    open();
    auto application = UIKit::UIApplication::shared();
    const auto opened = application->openedURLs().size();
    for (int i = 0; i < 20; ++i)
        press("Down");
    press("Return");
    ASSERT_EQ(application->openedURLs().size(), opened + 1);
    EXPECT_EQ(application->openedURLs().back(), Shared::Global::Help::url());

    press("Up");
    press("Up");
    ASSERT_EQ(selectedTitle(), String("Change Master Password"));
    press("Return");
    EXPECT_TRUE(CorvendaleTests::inMemoryDependencies().authenticationStore->authenticationState().is<Shared::AuthenticationState::ChangeMasterPasswordEntry>());
}

TEST_F(Settings, DoneAndEscapeCloseTheSettingsAndNothingStaysPresented)
{
    std::weak_ptr<SettingsC> first = open();
    driver.tap(String("Done"));
    TestSupport::advanceClock(1);
    EXPECT_EQ(coordinator->presentedViewController(), nullptr);
    EXPECT_TRUE(first.expired()) << "the settings live only while presented";

    open();
    press("Down");
    press("Escape");
    EXPECT_EQ(coordinator->presentedViewController(), nullptr);
}

TEST_F(Settings, DismissalTakesOnlyTheSettingsAndWhatIsOnTopOfThem)
{
    auto settings = open();
    // A page on top goes with the settings.
    auto page = Foundation::make<UIKit::UIViewController>(std::nullopt, nullptr);
    settings->present(page, false);
    settle();
    press("Down");
    press("Tab");
    EXPECT_EQ(selectedTitle(), std::nullopt) << "the list's keys stay with the page on top";
    settings->dismissSettings();
    TestSupport::advanceClock(1);
    EXPECT_EQ(coordinator->presentedViewController(), nullptr);
    EXPECT_EQ(page->presentingViewController(), nullptr);

    // Settings that are no longer what the presenter shows leave its other screens alone.
    auto alert = Foundation::make<Basalwork::AlertController>(String("Something else"), std::nullopt, UIKit::UIAlertController::Style::alert);
    coordinator->present(alert, false);
    settle();
    settings->dismissSettings();
    settle();
    EXPECT_EQ(coordinator->presentedViewController(), alert);
}

TEST_F(Settings, TheBackupRowFollowsTheBackupStatusInPlace)
{
    open();
    const auto normal = row("backupRestore")->subtitleText;
    list()->scrollToItem(String("backupRestore"), UIKit::UITableView::ScrollPosition::middle, false);
    window->layoutIfNeeded();
    auto shownCell = cell("backupRestore");
    ASSERT_NE(shownCell, nullptr);

    const auto& backups = CorvendaleTests::inMemoryDependencies().backupStore;
    backups->performOrCancelBackup(); // no folder is chosen: the backup fails
    settle();
    window->layoutIfNeeded();
    const auto* failed = row("backupRestore");
    EXPECT_TRUE(failed->isAttentionRequired);
    EXPECT_EQ(failed->subtitleText, std::optional(Shared::Global::corvendale() + " was unable to perform the last backup. No backups found."));
    EXPECT_EQ(cell("backupRestore"), shownCell) << "the row changes where it stands";
    EXPECT_EQ(shownCell->subtitleLabel()->text(), failed->subtitleText);
    EXPECT_EQ(shownCell->titleLabel()->textColor(), Shared::UIColors::deleteRed());
    EXPECT_FALSE(Basalwork::isVisible(*shownCell->requiresAttentionLabel()));

    backups->updateStatus();
    settle();
    EXPECT_EQ(row("backupRestore")->subtitleText, normal);
    EXPECT_EQ(shownCell->titleLabel()->textColor(), Shared::UIColors::primaryTint());
}

} // namespace
