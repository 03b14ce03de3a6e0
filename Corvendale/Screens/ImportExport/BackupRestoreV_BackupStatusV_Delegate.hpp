#pragma once

namespace Corvendale {

class BackupRestoreVBackupStatusV;

// The backup button (perform or cancel, as the store decides) and the restore button.
class BackupRestoreV_BackupStatusV_Delegate {
public:
    virtual ~BackupRestoreV_BackupStatusV_Delegate() = default;
    virtual void didSelectAction(BackupRestoreVBackupStatusV& backupStatusV) = 0;
    virtual void didSelectRestore(BackupRestoreVBackupStatusV& backupStatusV) = 0;
};

} // namespace Corvendale
