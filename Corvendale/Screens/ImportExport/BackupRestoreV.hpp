#pragma once

#include "Corvendale/Screens/ImportExport/BackupRestoreV.BackupStatusV.hpp"
#include "Corvendale/Screens/Settings/SettingsPageV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.OptionSettingV.hpp"

#include "Shared/Model/Settings.AutoBackup.hpp"

#include <memory>
#include <optional>

namespace Corvendale {

class BackupRestoreVBackupLocationV;
class BackupRestoreVDelegate;

// The Backup & Restore page: the backup folder, how often backups run, how many are kept, and the
// backup and restore buttons.
class BackupRestoreV : public SettingsPageV {
public:
    struct Config {
        std::optional<Foundation::String> backupLocationText;
        Shared::Settings::AutoBackup::Interval autoBackupInterval;
        Shared::Settings::AutoBackup::AutoDelete autoBackupAutoDelete;
        BackupRestoreVBackupStatusV::Config backupStatusConfig;
    };

    std::shared_ptr<BackupRestoreVDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<BackupRestoreVDelegate>& delegate);
    const std::shared_ptr<BackupRestoreVBackupLocationV>& backupLocationV() const { return m_backupLocationV; }
    const std::shared_ptr<SettingsVOptionSettingV<Shared::Settings::AutoBackup::Interval>>& autoBackupIntervalV() const { return m_autoBackupIntervalV; }
    const std::shared_ptr<SettingsVOptionSettingV<Shared::Settings::AutoBackup::AutoDelete>>& backupAutoDeleteV() const { return m_backupAutoDeleteV; }
    const std::shared_ptr<BackupRestoreVBackupStatusV>& backupStatusV() const { return m_backupStatusV; }

    void update(const Config& config);

protected:
    friend Foundation::Construct;
    explicit BackupRestoreV(const std::shared_ptr<BackupRestoreVDelegate>& delegate);
    void initialize() override;

private:
    void setupPage();
    void handOnDelegate();

    std::weak_ptr<BackupRestoreVDelegate> m_delegate;
    std::shared_ptr<BackupRestoreVBackupLocationV> m_backupLocationV;
    std::shared_ptr<SettingsVOptionSettingV<Shared::Settings::AutoBackup::Interval>> m_autoBackupIntervalV;
    std::shared_ptr<SettingsVOptionSettingV<Shared::Settings::AutoBackup::AutoDelete>> m_backupAutoDeleteV;
    std::shared_ptr<BackupRestoreVBackupStatusV> m_backupStatusV;
};

} // namespace Corvendale
