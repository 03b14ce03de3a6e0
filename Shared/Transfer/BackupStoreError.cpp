#include "Shared/Transfer/BackupStoreError.hpp"

namespace Shared {

namespace {

struct Describer {
    std::string operator()(const BackupStoreError::BackupFolderNotWritable& c) const
    {
        return "The backup folder \"" + c.path.utf8() + "\" cannot be written to: " + c.reason.utf8();
    }
    std::string operator()(const BackupStoreError::NewerFormatVersion& c) const
    {
        return "The backup was made by a newer version of Corvendale (backup format " + std::to_string(c.version)
            + "). Please update Corvendale to restore it.";
    }
    std::string operator()(const BackupStoreError::NotABackupFile&) const { return "The file is not a Corvendale backup."; }
    std::string operator()(const BackupStoreError::WrongPassword&) const
    {
        return "The password does not open this backup. Please enter the master password that was in use when the backup was made.";
    }
    std::string operator()(const BackupStoreError::DamagedBackup&) const
    {
        return "The backup is damaged: it was changed or cut short after it was made, and cannot be restored.";
    }
    std::string operator()(const BackupStoreError::NoBackupFolder&) const { return "No backup folder is chosen."; }
    std::string operator()(const BackupStoreError::VaultLocked&) const { return "Backups can only be made while Corvendale is unlocked."; }
    std::string operator()(const BackupStoreError::Cancelled&) const { return "The backup was cancelled."; }
};

} // namespace

std::string BackupStoreError::description() const
{
    return std::visit(Describer {}, value());
}

} // namespace Shared
