#pragma once

#include "Shared/Screens/FileURLInputDelegate.hpp"

namespace Corvendale {

// What the backup folder input reports: its file input's own reports, handed straight on.
class BackupRestoreV_BackupLocationV_Delegate : public Shared::FileURLInputDelegate {
};

} // namespace Corvendale
