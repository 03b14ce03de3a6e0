#pragma once

namespace Corvendale {

class BackupRestoreC;

// The presenter of the backup page, which dismisses it on Done.
class BackupRestoreCDelegate {
public:
    virtual ~BackupRestoreCDelegate() = default;
    virtual void didSelectDone(BackupRestoreC& backupRestoreC) = 0;
};

} // namespace Corvendale
