#pragma once

#include "Shared/Crypto/Cryptor.hpp"
#include "Shared/Model/AppExecutionContext.hpp"
#include "Shared/Model/Attachment.hpp"
#include "Shared/Model/Entry.hpp"
#include "Shared/Stores/BackupKeySource.hpp"
#include "Shared/Stores/BackupRecordSource.hpp"
#include "Shared/Transfer/BackupStore.Status.hpp"

#include "Basalwork/Base/ResultHandler.hpp"

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Notification.hpp"
#include "Platform/Foundation/URL.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace Foundation {
class FileManager;
class NotificationCenter;
class Timer;
class UserDefaults;
} // namespace Foundation

namespace Metricove {
class AnalyticsStore;
}

namespace Shared {

class AttachmentDataStore;
class PreferenceStore;

// Encrypted backups of the whole vault in the folder the preference store names, one file per backup
// ("Corvendale Backup <UTC time>.corvendalebackup", see BackupFile), made on request and, while the
// program runs unlocked, automatically at the chosen interval; after each backup the oldest beyond the
// chosen number are deleted. A restore reads a backup with the master password it was made under and
// replaces the vault's items, attachments and master password records with it, all or nothing. Each
// change of the status posts `backupStoreDidUpdateStatus`. Called from the main thread.
class BackupStore : public Foundation::NSObject, public BackupKeyTaker {
public:
    using Status = BackupStoreStatus;
    using RestoreOutcome = BackupStoreRestoreOutcome;

    static constexpr const char* fileExtension = "corvendalebackup";
    // The uniform type the backup files are declared as.
    static constexpr const char* documentTypeIdentifier = "com.corvendale.backup";

    using RecordSource = BackupRecordSource;
    using KeyMaterial = BackupKeyMaterial;
    using KeySource = BackupKeySource;

    static const Foundation::Notification::Name& backupStoreDidUpdateStatus();

    const Status& status() const { return m_status; }
    // The preference store's folder; nothing when none is set or it is gone.
    std::optional<Foundation::URL> backupFolder() const;
    // Looks at the folder again (and starts an automatic backup that is due).
    void updateStatus();
    void performOrCancelBackup();
    // The backups in the folder, oldest first.
    std::vector<Foundation::URL> backupFiles() const;

    // Checks that the password opens the backup and that it is whole; changes nothing.
    void readBackup(const Foundation::URL& fileURL, const Foundation::String& password, Basalwork::ResultHandler<RestoreOutcome> resultHandler);
    // Replaces the vault with the backup's content (the cryptor is left locked).
    void restoreBackup(const Foundation::URL& fileURL, const Foundation::String& password, Basalwork::ResultHandler<RestoreOutcome> resultHandler);

    void setKeySource(std::weak_ptr<KeySource> keySource) override { m_keySource = std::move(keySource); }

    ~BackupStore() override;

protected:
    friend Foundation::Construct;
    BackupStore(std::shared_ptr<Foundation::NotificationCenter> notificationCenter, std::shared_ptr<Foundation::UserDefaults> userDefaults,
                std::shared_ptr<Foundation::FileManager> fileManager, std::shared_ptr<PreferenceStore> preferenceStore,
                std::shared_ptr<RecordSource> recordStore, std::shared_ptr<AttachmentDataStore> attachmentDataStore,
                std::shared_ptr<Metricove::AnalyticsStore> analyticsStore, AppExecutionContext appExecutionContext);
    void initialize() override;

private:
    struct Content;

    void performBackup();
    void writeBackup(const Foundation::URL& destination, const KeyMaterial& material, const Cryptor::Key& backupKey, Foundation::Progress& progress) const;
    Content readContent(const Foundation::URL& fileURL, const Foundation::String& password, const Foundation::URL* stagingFolder) const;
    void restore(const Foundation::URL& fileURL, const Foundation::String& password, bool replacing,
                 Basalwork::ResultHandler<RestoreOutcome> resultHandler);
    void deleteBackupsBeyondRetention() const;
    Status determinedStatus() const;
    void setStatus(Status status);

    std::shared_ptr<Foundation::NotificationCenter> m_notificationCenter;
    std::shared_ptr<Foundation::FileManager> m_fileManager;
    std::shared_ptr<PreferenceStore> m_preferenceStore;
    std::shared_ptr<RecordSource> m_recordStore;
    std::shared_ptr<AttachmentDataStore> m_attachmentDataStore;
    AppExecutionContext m_appExecutionContext;
    std::weak_ptr<KeySource> m_keySource;
    Status m_status = Status::NotDetermined {};
    // The last backup's failure, shown until a backup succeeds or the folder changes.
    Foundation::ErrorPtr m_lastFailure;
    std::optional<Foundation::String> m_lastFailedFolder;
    std::shared_ptr<Foundation::Timer> m_timer;
    std::vector<std::shared_ptr<Foundation::NSObject>> m_observers;
};

} // namespace Shared
