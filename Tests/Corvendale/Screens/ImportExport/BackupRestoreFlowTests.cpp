#include "Tests/Corvendale/App/ProgramFixture.hpp"
#include "Tests/Support/Driver.hpp"

#include "Corvendale/App/MainCoordinator.hpp"
#include "Corvendale/Screens/ImportExport/BackupRestoreC.hpp"
#include "Corvendale/Screens/ImportExport/BackupRestoreV.BackupLocationV.hpp"
#include "Corvendale/Screens/ImportExport/BackupRestoreV.BackupStatusV.hpp"
#include "Corvendale/Screens/ImportExport/BackupRestoreV.hpp"
#include "Corvendale/Services/Dependencies.hpp"

#include "Shared/Model/Entry.hpp"
#include "Shared/Screens/AuthenticationV.hpp"
#include "Shared/Screens/FileURLInput.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Transfer/BackupStore.hpp"

#include "Basalwork/Interface/PromotionButton.hpp"

#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIDocumentPickerViewController.hpp"
#include "Platform/UIKit/UITextField.hpp"

#include <algorithm>
#include <chrono>
#include <filesystem>

using Foundation::String;
using VState = Shared::AuthenticationVState;

namespace {

class BackupAndRestore : public CorvendaleTests::Program {
protected:
    void TearDown() override
    {
        waitWhile([] { return backups()->status().is<Shared::BackupStore::Status::InProgress>(); });
        Corvendale::dependencies().preferenceStore->setBackupFolder(std::nullopt);
        Corvendale::dependencies().preferenceStore->setAutoBackupInterval(Shared::Settings::AutoBackup::Interval::daily);
        Program::TearDown();
    }

    static const std::shared_ptr<Shared::BackupStore>& backups() { return Corvendale::dependencies().backupStore; }
    static const std::shared_ptr<Shared::RecordStore>& records() { return Corvendale::dependencies().recordStore; }
    TestSupport::Driver driver()
    {
        return TestSupport::Driver(std::dynamic_pointer_cast<UIKit::UIWindowScene>(UIKit::UIApplication::shared()->connectedScenes().back()));
    }
    static void add(const char* title)
    {
        auto entry = Shared::Entry::make(Shared::Entry::Category::login, Foundation::Date::now());
        entry.title = String(title);
        records()->insertEntries({entry}, {});
    }
    static std::vector<std::string> titles()
    {
        std::vector<std::string> result;
        for (const auto& entry : records()->allEntries())
            result.push_back(entry.title.utf8());
        std::ranges::sort(result);
        return result;
    }
    // Backups and restores run on other threads: the main loop turns while `running` holds (30 s at most).
    template <class Predicate>
    static void waitWhile(Predicate running)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (running() && std::chrono::steady_clock::now() < deadline)
            settle();
    }
    // Typed into the lock screen's field key by key, as a person types, then its primary button.
    void typeAndContinue(const char* text)
    {
        auto field = lockScreen()->authenticationVC()->authenticationV()->entryField();
        field->becomeFirstResponder();
        driver().type(String(text));
        lockScreen()->didSelectPrimaryAction(lockScreen()->authenticationVC()->state(), *lockScreen()->authenticationVC());
        settle();
    }
    void press()
    {
        lockScreen()->didSelectPrimaryAction(lockScreen()->authenticationVC()->state(), *lockScreen()->authenticationVC());
        settle();
    }
};

TEST_F(BackupAndRestore, ABackupMadeOnThePageIsRestoredOnTheLockScreenAndTheVaultIsAsItWasBackedUp)
{
    CorvendaleTests::unlockVault();
    add("Kept in the backup");
    const auto folder = std::filesystem::path(std::getenv("TMPDIR")) / "BackupAndRestore";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    Corvendale::dependencies().preferenceStore->setAutoBackupInterval(Shared::Settings::AutoBackup::Interval::never);

    auto main = sceneDelegate()->sceneCoordinator()->mainCoordinator();
    ASSERT_TRUE(main->perform(Foundation::Selector("handlePerformBackupCommand")));
    settle();
    auto page = std::dynamic_pointer_cast<Corvendale::BackupRestoreC>(main->presentedViewController());
    ASSERT_NE(page, nullptr);
    page->customView()->backupLocationV()->fileURLInput()->drop({Foundation::URL::fileURLWithPath(String(folder.string()), true)});
    settle();
    page->customView()->backupStatusV()->actionButton()->sendActions(UIKit::UIControl::Event::touchUpInside());
    waitWhile([] { return backups()->status().is<Shared::BackupStore::Status::InProgress>(); });
    ASSERT_EQ(backups()->backupFiles().size(), 1U);
    const auto backup = backups()->backupFiles().front();

    add("Added after the backup");
    page->customView()->backupStatusV()->restoreButton()->sendActions(UIKit::UIControl::Event::touchUpInside());
    settle();
    ASSERT_EQ(screenState(), VState::indexOf<VState::RestoreFromBackupIntroduction>) << "the lock screen takes over";
    press();
    ASSERT_EQ(screenState(), VState::indexOf<VState::RestoreFromBackupMasterPasswordEntry>);
    typeAndContinue(CorvendaleTests::masterPassword);
    ASSERT_EQ(screenState(), VState::indexOf<VState::ChoosingBackupFile>);
    lockScreen()->didSelectChooseLocation(*lockScreen()->authenticationVC());
    settle();
    auto picker = std::dynamic_pointer_cast<UIKit::UIDocumentPickerViewController>(lockScreen()->presentedViewController());
    ASSERT_NE(picker, nullptr);
    driver().find<UIKit::UITextField>(String(UIKit::UIDocumentPickerViewController::pathFieldIdentifier))->setText(backup.path());
    picker->open();
    TestSupport::advanceClock(1);
    settle();
    press();
    ASSERT_EQ(screenState(), VState::indexOf<VState::BackupPasswordEntry>);
    typeAndContinue(CorvendaleTests::masterPassword);
    waitWhile([&] { return screenState() == VState::indexOf<VState::RestoringFromBackup>; });
    ASSERT_EQ(screenState(), VState::indexOf<VState::ReplaceDataWithBackupConfirmation>);
    press();
    waitWhile([&] { return screenState() == VState::indexOf<VState::ResettingAccount> || screenState() == VState::indexOf<VState::RestoringFromBackup>; });
    ASSERT_EQ(screenState(), VState::indexOf<VState::RestoredVaultMasterPasswordEntry>);

    // Each key typed on the restored vault's screen stays in its field until Unlock takes it.
    typeAndContinue(CorvendaleTests::masterPassword);
    ASSERT_TRUE(store()->authenticationState().isAuthenticated()) << store()->authenticationState().index();
    EXPECT_EQ(titles(), std::vector<std::string> {"Kept in the backup"});
}

} // namespace
