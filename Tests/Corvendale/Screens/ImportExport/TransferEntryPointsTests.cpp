#include "Tests/Corvendale/App/ProgramFixture.hpp"
#include "Tests/Corvendale/Screens/ImportExport/TransferPageFixture.hpp"

#include "Corvendale/App/MainCoordinator.hpp"
#include "Corvendale/Screens/ImportExport/BackupRestoreC.hpp"
#include "Corvendale/Screens/ImportExport/ExportToFileC.hpp"
#include "Corvendale/Screens/ImportExport/ImportFromFileC.hpp"
#include "Corvendale/Screens/ImportExport/ImportFromFileV.hpp"
#include "Corvendale/Screens/ImportExport/ExportToFileV.hpp"
#include "Corvendale/Screens/ImportExport/BackupRestoreV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.HeaderV.hpp"
#include "Corvendale/Screens/Settings/SettingsC.hpp"
#include "Corvendale/Screens/Settings/SettingsTVC.hpp"
#include "Corvendale/Screens/Settings/SettingsVC.hpp"

#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/UIKit/UIButton.hpp"

using Corvendale::ImportFromFileC;
using PageState = Corvendale::ImportFromFileVState;

namespace {

using TransferEntryPoints = CorvendaleTests::TransferPageFixture;
using LockScreenImport = CorvendaleTests::Program;

TEST_F(TransferEntryPoints, OpenedFilesReachOnlyTheImportPageAndEachPageClosesOnItsDone)
{
    // A folder with no import page is ignored; so is a file over another page.
    coordinator->openImportableFile(url(folder, true));
    settle();
    EXPECT_EQ(coordinator->presentedViewController(), nullptr);
    coordinator->presentSettings(false);
    settle();
    coordinator->openImportableFile(url(browserExport(1)));
    settle();
    EXPECT_NE(std::dynamic_pointer_cast<Corvendale::SettingsC>(coordinator->presentedViewController()), nullptr);
    coordinator->dismiss(false);
    settle();

    // With nothing on top, a file opens the page with it chosen.
    coordinator->openImportableFile(url(folder / "Passwords.csv"));
    settle();
    auto page = std::dynamic_pointer_cast<ImportFromFileC>(coordinator->presentedViewController());
    ASSERT_NE(page, nullptr);
    page->didSelect(std::optional(Shared::ImporterApp::brave), *page->customView());
    EXPECT_EQ(page->makeState(), PageState(PageState::SelectAttachmentsURL {Shared::ImporterFileFormat::braveCSV, url(folder / "Passwords.csv"),
                                                                             std::nullopt, std::nullopt}));
    EXPECT_FALSE(coordinator->perform(Foundation::Selector("handleExportToFileCommand")) && coordinator->presentedViewController() != page)
        << "one page at a time";
    page->didSelectDone(*page->customView()->headerV());
    settle();
    EXPECT_EQ(coordinator->presentedViewController(), nullptr);

    for (const char* command : {"handleExportToFileCommand", "handlePerformBackupCommand"}) {
        EXPECT_TRUE(coordinator->perform(Foundation::Selector(command)));
        settle();
        const auto presented = coordinator->presentedViewController();
        ASSERT_NE(presented, nullptr) << command;
        if (auto exportPage = std::dynamic_pointer_cast<Corvendale::ExportToFileC>(presented))
            exportPage->didSelectDone(*exportPage->exportToFileVC()->headerV());
        else if (auto backupPage = std::dynamic_pointer_cast<Corvendale::BackupRestoreC>(presented))
            backupPage->didSelectDone(*backupPage->customView()->headerV());
        settle();
        EXPECT_EQ(coordinator->presentedViewController(), nullptr) << command;
    }
}

TEST_F(TransferEntryPoints, TheSettingsRowsOpenEachPageOverTheSettingsAndItsDoneReturnsToThem)
{
    coordinator->presentSettings(false);
    settle();
    auto settings = std::dynamic_pointer_cast<Corvendale::SettingsC>(coordinator->presentedViewController());
    ASSERT_NE(settings, nullptr);
    auto& list = *settings->settingsVC()->settingsTVC();
    auto expectClosesOverTheSettings = [&](const Corvendale::SettingsVHeaderV& header, const std::shared_ptr<UIKit::UIViewController>& page) {
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(settings->presentedViewController(), page);
        // The page's Done reaches the settings, not the main coordinator: the settings stay.
        header.doneButton()->sendActions(UIKit::UIControl::Event::touchUpInside());
        settle();
        EXPECT_EQ(settings->presentedViewController(), nullptr);
        EXPECT_EQ(coordinator->presentedViewController(), settings);
    };

    settings->didSelectImportItems(list);
    settle();
    auto importPage = std::dynamic_pointer_cast<ImportFromFileC>(settings->presentedViewController());
    ASSERT_NE(importPage, nullptr);
    EXPECT_EQ(importPage->makeState(), PageState(PageState::SelectApp {}));
    expectClosesOverTheSettings(*importPage->customView()->headerV(), importPage);

    settings->didSelectExportItems(list);
    settle();
    auto exportPage = std::dynamic_pointer_cast<Corvendale::ExportToFileC>(settings->presentedViewController());
    ASSERT_NE(exportPage, nullptr);
    EXPECT_EQ(exportPage->makeState(), Corvendale::ExportToFileVState(Corvendale::ExportToFileVState::SelectApp {}));
    expectClosesOverTheSettings(*exportPage->exportToFileVC()->headerV(), exportPage);

    settings->didSelectBackupRestore(list);
    settle();
    auto backupPage = std::dynamic_pointer_cast<Corvendale::BackupRestoreC>(settings->presentedViewController());
    ASSERT_NE(backupPage, nullptr);
    expectClosesOverTheSettings(*backupPage->customView()->headerV(), backupPage);
}

TEST_F(LockScreenImport, OpensThePageOnceAfterTheUnlockAndAtOnceWhenUnlocked)
{
    CorvendaleTests::unlockVault();
    store()->lock(Shared::AuthenticationStore::LockKind::allowBiometry, true, false, "test");
    TestSupport::runMainLoopUntilIdle();
    auto scene = sceneDelegate()->sceneCoordinator();
    lockScreen()->handleImportFromFileCommand();
    lockScreen()->handleImportFromFileCommand();
    EXPECT_TRUE(scene->isImportFromFileRequestedOnAuthentication());
    EXPECT_EQ(scene->mainCoordinator()->presentedViewController(), nullptr);
    CorvendaleTests::unlockVault();
    settle();
    TestSupport::advanceClock(0.3);
    settle();
    auto page = std::dynamic_pointer_cast<ImportFromFileC>(scene->mainCoordinator()->presentedViewController());
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(scene->isImportFromFileRequestedOnAuthentication());

    // Unlocked, the request opens the page at once; the next unlock opens nothing more.
    page->didSelectDone(*page->customView()->headerV());
    settle();
    lockScreen()->handleImportFromFileCommand();
    settle();
    EXPECT_NE(std::dynamic_pointer_cast<ImportFromFileC>(scene->mainCoordinator()->presentedViewController()), nullptr);
}

} // namespace
