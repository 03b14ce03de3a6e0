#include "Corvendale/Screens/ImportExport/BackupRestoreC.hpp"

#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Transfer/BackupStore.hpp"
#include "Shared/Transfer/URL.hpp"

#include "Basalwork/Base/DateFormatter.hpp"

#include "Platform/Foundation/DateFormatter.Style.hpp"
#include "Platform/Foundation/DateFormatter.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/TimeZone.hpp"
#include "Platform/UIKit/UIDocumentPickerViewController.hpp"

#include <cstdlib>
#include <filesystem>

namespace Corvendale {

namespace {

Foundation::String lastBackedUp(const std::optional<Foundation::Date>& date)
{
    if (!date)
        return "No backups found";
    auto formatter = Basalwork::DateFormatters::withDateStyle(Foundation::DateFormatter::Style::medium, Foundation::DateFormatter::Style::short_,
                                                              Foundation::TimeZone::current());
    formatter->setDoesRelativeDateFormatting(true);
    return Foundation::String("Last backed up: " + formatter->string(*date).utf8());
}

// The user's documents folder when there is one, else the home folder.
std::optional<Foundation::URL> documentDirectory()
{
    const char* home = std::getenv("HOME");
    if (!home || !*home)
        return std::nullopt;
    std::error_code error;
    const auto documents = std::filesystem::path(home) / "Documents";
    const auto folder = std::filesystem::is_directory(documents, error) ? documents : std::filesystem::path(home);
    return Foundation::URL::fileURLWithPath(Foundation::String(folder.string()), true);
}

} // namespace

BackupRestoreC::BackupRestoreC(const std::shared_ptr<BackupRestoreCDelegate>& delegate)
    : SettingsPageC(delegate)
{
}

std::shared_ptr<BackupRestoreV> BackupRestoreC::makePageView()
{
    return Foundation::make<BackupRestoreV>(std::static_pointer_cast<BackupRestoreVDelegate>(sharedSelf(this)));
}

void BackupRestoreC::viewDidLoad()
{
    dependencies().backupStore->updateStatus();
    SettingsPageC::viewDidLoad();
}

void BackupRestoreC::startObserving()
{
    SettingsPageC::startObserving();
    observe(Shared::BackupStore::backupStoreDidUpdateStatus(), dependencies().backupStore);
}

BackupRestoreVBackupStatusV::Config BackupRestoreC::backupStatusConfig(const Shared::BackupStoreStatus& status, bool hasBackupFolder)
{
    using S = Shared::BackupStoreStatus;
    BackupRestoreVBackupStatusV::Config config {"Perform Backup", std::nullopt, hasBackupFolder, !status.is<S::InProgress>()};
    if (const auto* upToDate = status.as<S::UpToDate>()) {
        config.actionSubtitleText = lastBackedUp(upToDate->lastBackupAt);
    } else if (status.is<S::InProgress>()) {
        config.actionTitleText = "Cancel Backup";
    } else if (const auto* due = status.as<S::BackupDue>()) {
        config.actionSubtitleText = lastBackedUp(due->lastBackupAt);
    } else if (const auto* failed = status.as<S::Failed>()) {
        config.actionTitleText = "Backup Failed - Retry";
        config.actionSubtitleText = Foundation::String(failed->error ? failed->error->description() : std::string());
    } else if (const auto* unknown = status.as<S::FailedToDetermineStatus>()) {
        config.actionTitleText = "Unable to determine backup status";
        config.actionSubtitleText = Foundation::String(unknown->error ? unknown->error->description() : std::string());
    } else {
        config.actionSubtitleText = lastBackedUp(std::nullopt);
    }
    return config;
}

BackupRestoreV::Config BackupRestoreC::makeConfig()
{
    const auto& services = dependencies();
    const auto folder = services.backupStore->backupFolder();
    return BackupRestoreV::Config {folder ? std::optional(Shared::locationText(*folder)) : std::nullopt, services.preferenceStore->autoBackupInterval(),
                                   services.preferenceStore->autoBackupAutoDelete(),
                                   backupStatusConfig(services.backupStore->status(), folder.has_value())};
}

void BackupRestoreC::didSelect(Shared::Settings::AutoBackup::Interval autoBackupInterval, BackupRestoreV&)
{
    dependencies().preferenceStore->setAutoBackupInterval(autoBackupInterval);
}

void BackupRestoreC::didSelect(Shared::Settings::AutoBackup::AutoDelete autoBackupAutoDelete, BackupRestoreV&)
{
    dependencies().preferenceStore->setAutoBackupAutoDelete(autoBackupAutoDelete);
}

void BackupRestoreC::didSelectAction(BackupRestoreVBackupStatusV&)
{
    dependencies().backupStore->performOrCancelBackup();
}

void BackupRestoreC::didSelectRestore(BackupRestoreVBackupStatusV&)
{
    dependencies().authenticationStore->beginRestoringFromBackup(std::nullopt);
}

void BackupRestoreC::didSelectDone(SettingsVHeaderV&)
{
    if (auto delegate = this->delegate())
        delegate->didSelectDone(*this);
}

void BackupRestoreC::storeBackupFolder(const std::optional<Foundation::URL>& folder, const char* function)
{
    try {
        dependencies().preferenceStore->setBackupFolder(folder);
    } catch (const Foundation::Error& error) {
        handleUnexpectedError(error, Foundation::String(function));
        return;
    }
    dependencies().backupStore->updateStatus();
}

void BackupRestoreC::didSelect(const Foundation::URL& fileURL, Shared::FileURLInput&)
{
    storeBackupFolder(fileURL, "didSelect(fileURL:fileURLInput:)");
}

void BackupRestoreC::didSelectClear(Shared::FileURLInput&)
{
    storeBackupFolder(std::nullopt, "didSelectClear(fileURLInput:)");
}

void BackupRestoreC::didFailToSelectFileURL(const Foundation::ErrorPtr& error, Shared::FileURLInput&)
{
    if (error)
        handleUnexpectedError(*error, Foundation::String("didFailToSelectFileURL(error:fileURLInput:)"));
}

void BackupRestoreC::didRequestFileURLPicker(Shared::FileURLInput&)
{
    presentBackupLocationPicker(true);
}

void BackupRestoreC::presentBackupLocationPicker(bool animated)
{
    auto picker = Foundation::make<UIKit::UIDocumentPickerViewController>(std::vector {UniformTypeIdentifiers::UTType::folder()});
    std::optional<Foundation::URL> start;
    try {
        start = dependencies().preferenceStore->backupFolder();
    } catch (const Foundation::Error&) {
        // A folder that is gone only means the picker starts elsewhere.
    }
    picker->setDirectoryURL(start ? start : documentDirectory());
    picker->setDelegate(std::static_pointer_cast<UIKit::UIDocumentPickerDelegate>(sharedSelf(this)));
    present(picker, animated);
}

void BackupRestoreC::documentPicker(UIKit::UIDocumentPickerViewController&, const std::vector<Foundation::URL>& urls)
{
    if (!urls.empty())
        storeBackupFolder(urls.front(), "documentPicker(_:didPickDocumentsAt:)");
}

} // namespace Corvendale
