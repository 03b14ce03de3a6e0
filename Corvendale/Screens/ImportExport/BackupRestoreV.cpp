#include "Corvendale/Screens/ImportExport/BackupRestoreV.hpp"

#include "Corvendale/Screens/ImportExport/BackupRestoreV.BackupLocationV.hpp"
#include "Corvendale/Screens/ImportExport/BackupRestoreVDelegate.hpp"
#include "Corvendale/Screens/Settings/SettingsV.HeaderV.hpp"

#include "Shared/Model/Global.hpp"

#include "Platform/UIKit/UIStackView.hpp"

namespace Corvendale {

BackupRestoreV::BackupRestoreV(const std::shared_ptr<BackupRestoreVDelegate>& delegate)
    : m_delegate(delegate)
{
}

void BackupRestoreV::initialize()
{
    m_backupLocationV = Foundation::make<BackupRestoreVBackupLocationV>();
    m_autoBackupIntervalV = Foundation::make<SettingsVOptionSettingV<Shared::Settings::AutoBackup::Interval>>();
    m_backupAutoDeleteV = Foundation::make<SettingsVOptionSettingV<Shared::Settings::AutoBackup::AutoDelete>>();
    m_backupStatusV = Foundation::make<BackupRestoreVBackupStatusV>();
    SettingsPageV::initialize();
    setupPage();
}

void BackupRestoreV::setDelegate(const std::shared_ptr<BackupRestoreVDelegate>& delegate)
{
    m_delegate = delegate;
    handOnDelegate();
}

void BackupRestoreV::handOnDelegate()
{
    auto delegate = m_delegate.lock();
    headerV()->setDelegate(delegate);
    m_backupLocationV->setDelegate(delegate);
    m_backupStatusV->setDelegate(delegate);
}

void BackupRestoreV::setupPage()
{
    headerV()->setTitle(Foundation::String("Backup & Restore"));
    setAccessibilityIdentifier(Foundation::String("BackupRestoreV"));
    handOnDelegate();
    const auto product = Shared::Global::corvendale().utf8();
    std::weak_ptr<BackupRestoreV> weakSelf = sharedSelf(this);
    contentContainer()->addArrangedSubview(m_backupLocationV);
    m_autoBackupIntervalV->setTitleText(
        Foundation::String("How often would you like " + product + " to automatically perform backups while the app is open and unlocked?"));
    m_autoBackupIntervalV->onSelection = [weakSelf](const Shared::Settings::AutoBackup::Interval& interval) {
        if (auto self = weakSelf.lock())
            if (auto delegate = self->delegate())
                delegate->didSelect(interval, *self);
    };
    contentContainer()->addArrangedSubview(m_autoBackupIntervalV);
    m_backupAutoDeleteV->setTitleText(Foundation::String("How many backups would you like " + product + " to keep at any given time?"));
    m_backupAutoDeleteV->onSelection = [weakSelf](const Shared::Settings::AutoBackup::AutoDelete& autoDelete) {
        if (auto self = weakSelf.lock())
            if (auto delegate = self->delegate())
                delegate->didSelect(autoDelete, *self);
    };
    contentContainer()->addArrangedSubview(m_backupAutoDeleteV);
    contentContainer()->addArrangedSubview(m_backupStatusV);
}

void BackupRestoreV::update(const Config& config)
{
    m_backupLocationV->setLocationText(config.backupLocationText);
    m_autoBackupIntervalV->setSelected(config.autoBackupInterval);
    m_backupAutoDeleteV->setSelected(config.autoBackupAutoDelete);
    m_backupStatusV->update(config.backupStatusConfig);
}

} // namespace Corvendale
