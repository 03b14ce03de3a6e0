#pragma once

#include "Corvendale/Screens/ImportExport/BackupRestoreCDelegate.hpp"
#include "Corvendale/Screens/ImportExport/BackupRestoreV.hpp"
#include "Corvendale/Screens/ImportExport/BackupRestoreVDelegate.hpp"
#include "Corvendale/Screens/Settings/SettingsPageC.hpp"

#include "Shared/Transfer/BackupStore.Status.hpp"

#include "Platform/UIKit/UIDocumentPickerDelegate.hpp"

namespace Corvendale {

// The Backup & Restore page's controller. The folder and the two options are preferences, the backups
// the backup store's, the restore the lock screen's once the authentication store is told to begin it;
// the page follows the stores and keeps nothing of its own.
class BackupRestoreC : public SettingsPageC<BackupRestoreV, BackupRestoreCDelegate>,
                       public BackupRestoreVDelegate,
                       public UIKit::UIDocumentPickerDelegate {
public:
    void viewDidLoad() override;

    // The backup button's texts and the two buttons' states for a status.
    static BackupRestoreVBackupStatusV::Config backupStatusConfig(const Shared::BackupStoreStatus& status, bool hasBackupFolder);

    void presentBackupLocationPicker(bool animated);

    // BackupRestoreVDelegate
    void didSelect(Shared::Settings::AutoBackup::Interval autoBackupInterval, BackupRestoreV& backupRestoreV) override;
    void didSelect(Shared::Settings::AutoBackup::AutoDelete autoBackupAutoDelete, BackupRestoreV& backupRestoreV) override;
    void didSelectAction(BackupRestoreVBackupStatusV& backupStatusV) override;
    void didSelectRestore(BackupRestoreVBackupStatusV& backupStatusV) override;
    void didSelectDone(SettingsVHeaderV& headerV) override;
    void didSelect(const Foundation::URL& fileURL, Shared::FileURLInput& fileURLInput) override;
    void didSelectClear(Shared::FileURLInput& fileURLInput) override;
    void didFailToSelectFileURL(const Foundation::ErrorPtr& error, Shared::FileURLInput& fileURLInput) override;
    void didRequestFileURLPicker(Shared::FileURLInput& fileURLInput) override;

    // UIDocumentPickerDelegate
    void documentPicker(UIKit::UIDocumentPickerViewController& controller, const std::vector<Foundation::URL>& urls) override;

protected:
    friend Foundation::Construct;
    explicit BackupRestoreC(const std::shared_ptr<BackupRestoreCDelegate>& delegate);

    std::shared_ptr<BackupRestoreV> makePageView() override;
    BackupRestoreV::Config makeConfig() override;
    void startObserving() override;

private:
    void storeBackupFolder(const std::optional<Foundation::URL>& folder, const char* function);
};

} // namespace Corvendale
