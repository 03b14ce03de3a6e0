#pragma once

#include "Shared/Model/ErrorEnumeration.hpp"

#include "Platform/Foundation/String.hpp"

#include <cstdint>

namespace Shared {

// Failures of backups and restores. None carries a password or a key.
struct BackupStoreErrorCases {
    struct BackupFolderNotWritable {
        Foundation::String path;
        Foundation::String reason;
    };
    struct NewerFormatVersion {
        std::int64_t version;
    };
    struct NotABackupFile { };
    // The password does not open the backup's key.
    struct WrongPassword { };
    // Changed or cut off since it was written.
    struct DamagedBackup { };
    struct NoBackupFolder { };
    struct VaultLocked { };
    struct Cancelled { };
};

class BackupStoreError
    : public ErrorEnumeration<BackupStoreError, BackupStoreErrorCases::BackupFolderNotWritable, BackupStoreErrorCases::NewerFormatVersion,
                              BackupStoreErrorCases::NotABackupFile, BackupStoreErrorCases::WrongPassword, BackupStoreErrorCases::DamagedBackup,
                              BackupStoreErrorCases::NoBackupFolder, BackupStoreErrorCases::VaultLocked, BackupStoreErrorCases::Cancelled>,
      public BackupStoreErrorCases {
public:
    static BackupStoreError backupFolderNotWritable(Foundation::String path, Foundation::String reason)
    {
        return BackupStoreError(BackupFolderNotWritable {std::move(path), std::move(reason)});
    }
    static BackupStoreError newerFormatVersion(std::int64_t version) { return BackupStoreError(NewerFormatVersion {version}); }
    static BackupStoreError notABackupFile() { return BackupStoreError(NotABackupFile {}); }
    static BackupStoreError wrongPassword() { return BackupStoreError(WrongPassword {}); }
    static BackupStoreError damagedBackup() { return BackupStoreError(DamagedBackup {}); }
    static BackupStoreError noBackupFolder() { return BackupStoreError(NoBackupFolder {}); }
    static BackupStoreError vaultLocked() { return BackupStoreError(VaultLocked {}); }
    static BackupStoreError cancelled() { return BackupStoreError(Cancelled {}); }

    // A wrong password, a locked vault or a cancellation are the user's doing.
    bool shouldTrackInAnalytics() const override
    {
        return !is<WrongPassword>() && !is<VaultLocked>() && !is<Cancelled>() && !is<BackupFolderNotWritable>();
    }

    std::string domain() const override { return "Shared.BackupStoreError"; }
    std::string description() const override;

private:
    using ErrorEnumeration::ErrorEnumeration;
};

} // namespace Shared
