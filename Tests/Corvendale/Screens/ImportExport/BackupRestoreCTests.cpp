#include "Tests/Corvendale/Screens/ImportExport/TransferPageFixture.hpp"

#include "Corvendale/Screens/ImportExport/BackupRestoreC.hpp"
#include "Corvendale/Screens/ImportExport/BackupRestoreV.BackupLocationV.hpp"
#include "Corvendale/Screens/ImportExport/BackupRestoreV.BackupStatusV.hpp"

#include "Shared/Screens/FileURLInput.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Transfer/BackupStoreError.hpp"

#include "Platform/Foundation/Error.hpp"
#include "Platform/UIKit/UIAlertController.hpp"
#include "Platform/UIKit/UIButton.hpp"

using Corvendale::BackupRestoreC;
using Foundation::String;
using Status = Shared::BackupStoreStatus;

namespace {

struct Broken : Foundation::ErrorOf<Broken> {
    std::string domain() const override { return "Tests.Broken"; }
    std::int64_t code() const override { return 0; }
    std::string description() const override { return "the disk is gone"; }
};

TEST(BackupStatus, TheButtonSaysHowTheLastBackupWentAndRestoreWaitsForARunningOne)
{
    const auto date = Foundation::Date::now();
    auto upToDate = BackupRestoreC::backupStatusConfig(Status::UpToDate {date}, true);
    EXPECT_EQ(upToDate.actionTitleText, String("Perform Backup"));
    EXPECT_TRUE(upToDate.actionSubtitleText->utf8().starts_with("Last backed up: ")) << upToDate.actionSubtitleText->utf8();
    EXPECT_TRUE(upToDate.isActionEnabled);
    EXPECT_TRUE(upToDate.isRestoreEnabled);

    auto running = BackupRestoreC::backupStatusConfig(Status::InProgress {nullptr}, true);
    EXPECT_EQ(running.actionTitleText, String("Cancel Backup"));
    EXPECT_FALSE(running.actionSubtitleText.has_value());
    EXPECT_TRUE(running.isActionEnabled);
    EXPECT_FALSE(running.isRestoreEnabled);

    auto due = BackupRestoreC::backupStatusConfig(Status::BackupDue {Shared::Settings::AutoBackup::Interval::daily, std::nullopt}, true);
    EXPECT_EQ(due.actionSubtitleText, String("No backups found"));

    auto failed = BackupRestoreC::backupStatusConfig(Status::Failed {Broken().clone(), date}, true);
    EXPECT_EQ(failed.actionTitleText, String("Backup Failed - Retry"));
    EXPECT_EQ(failed.actionSubtitleText, String("the disk is gone")) << "the error, not the date";

    auto unknown = BackupRestoreC::backupStatusConfig(Status::FailedToDetermineStatus {Broken().clone()}, true);
    EXPECT_EQ(unknown.actionTitleText, String("Unable to determine backup status"));

    // Without a folder nothing can be backed up, whatever the status; restoring still can.
    auto noFolder = BackupRestoreC::backupStatusConfig(Status::NoBackupFolder {}, false);
    EXPECT_FALSE(noFolder.isActionEnabled);
    EXPECT_TRUE(noFolder.isRestoreEnabled);
    EXPECT_EQ(noFolder.actionSubtitleText, String("No backups found"));
}

class BackupPage : public CorvendaleTests::TransferPageFixture {
protected:
    void SetUp() override
    {
        TransferPageFixture::SetUp();
        dependencies().preferenceStore->setBackupFolder(std::nullopt);
        page = open<BackupRestoreC>("handlePerformBackupCommand");
    }
    void TearDown() override
    {
        SharedTests::runMainLoopUntil([] { return !dependencies().backupStore->status().is<Status::InProgress>(); });
        dependencies().preferenceStore->setBackupFolder(std::nullopt);
        TransferPageFixture::TearDown();
    }
    const std::shared_ptr<Shared::FileURLInput>& input() const { return page->customView()->backupLocationV()->fileURLInput(); }

    std::shared_ptr<BackupRestoreC> page;
};

TEST_F(BackupPage, AFolderChosenEnablesTheBackupWhichLandsThereAndClearingItDisablesItAgain)
{
    EXPECT_FALSE(input()->text().has_value()) << "no folder: the placeholder shows";
    EXPECT_FALSE(page->customView()->backupStatusV()->actionButton()->isEnabled());

    input()->drop({url(folder, true)});
    settle();
    EXPECT_EQ(dependencies().preferenceStore->backupFolder(), url(folder, true));
    EXPECT_TRUE(input()->text().has_value());
    EXPECT_TRUE(page->customView()->backupStatusV()->actionButton()->isEnabled());

    // A folder newly set may start the automatic backup that is due; the button adds one more.
    SharedTests::runMainLoopUntil([] { return !dependencies().backupStore->status().is<Status::InProgress>(); });
    const auto before = dependencies().backupStore->backupFiles().size();
    page->customView()->backupStatusV()->actionButton()->sendActions(UIKit::UIControl::Event::touchUpInside());
    SharedTests::runMainLoopUntil([] { return !dependencies().backupStore->status().is<Status::InProgress>(); });
    settle();
    EXPECT_EQ(dependencies().backupStore->backupFiles().size(), before + 1);
    EXPECT_TRUE(page->customView()->backupStatusV()->actionButton()->subtitleText()->utf8().starts_with("Last backed up: "));

    page->didSelectClear(*input());
    settle();
    EXPECT_FALSE(dependencies().preferenceStore->backupFolder().has_value());
    EXPECT_FALSE(page->customView()->backupStatusV()->actionButton()->isEnabled());
}

TEST_F(BackupPage, AFileWhereAFolderShouldBeIsRefusedWithTheAlertAndTheFolderKept)
{
    TestSupport::writeText(folder / "file.txt", "x");
    page->didSelect(url(folder / "file.txt"), *input());
    settle();
    EXPECT_NE(std::dynamic_pointer_cast<UIKit::UIAlertController>(page->presentedViewController()), nullptr);
    EXPECT_FALSE(dependencies().preferenceStore->backupFolder().has_value());
}

TEST_F(BackupPage, RestoreHandsOverToTheLockScreen)
{
    page->customView()->backupStatusV()->restoreButton()->sendActions(UIKit::UIControl::Event::touchUpInside());
    settle();
    EXPECT_TRUE(dependencies().authenticationStore->authenticationState().isIncludedInRestoreFromBackupFlow());
    dependencies().authenticationStore->cancelRestoringFromBackup();
    settle();
}

} // namespace
