#pragma once

#include "Corvendale/Screens/ImportExport/BackupRestoreV_BackupLocationV_Delegate.hpp"
#include "Corvendale/Screens/ImportExport/BackupRestoreV_BackupStatusV_Delegate.hpp"
#include "Corvendale/Screens/Settings/SettingsV_HeaderV_Delegate.hpp"

#include "Shared/Model/Settings.AutoBackup.hpp"

namespace Corvendale {

class BackupRestoreV;

// What the backup page's view reports: its parts' reports and the two options chosen.
class BackupRestoreVDelegate : public BackupRestoreV_BackupLocationV_Delegate,
                               public BackupRestoreV_BackupStatusV_Delegate,
                               public SettingsV_HeaderV_Delegate {
public:
    virtual void didSelect(Shared::Settings::AutoBackup::Interval autoBackupInterval, BackupRestoreV& backupRestoreV) = 0;
    virtual void didSelect(Shared::Settings::AutoBackup::AutoDelete autoBackupAutoDelete, BackupRestoreV& backupRestoreV) = 0;
    using BackupRestoreV_BackupLocationV_Delegate::didSelect;
};

} // namespace Corvendale
