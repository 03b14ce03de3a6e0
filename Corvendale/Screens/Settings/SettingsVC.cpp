#include "Corvendale/Screens/Settings/SettingsVC.hpp"

#include "Corvendale/Screens/Settings/SettingsV.HeaderV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.hpp"
#include "Corvendale/Screens/Settings/SettingsVCDelegate.hpp"

#include "Basalwork/Interface/UIViewController.hpp"

#include "Platform/UIKit/UIStackView.hpp"

namespace Corvendale {

SettingsVC::SettingsVC()
    : UIViewController(std::nullopt, nullptr)
{
}

void SettingsVC::initialize()
{
    UIViewController::initialize();
    m_settingsTVC = Foundation::make<SettingsTVC>();
}

void SettingsVC::setDelegate(const std::shared_ptr<SettingsVCDelegate>& delegate)
{
    m_delegate = delegate;
    handOnDelegate();
}

void SettingsVC::handOnDelegate()
{
    auto delegate = m_delegate.lock();
    if (m_settingsV) {
        m_settingsV->setDelegate(delegate);
        m_settingsV->headerV()->setDelegate(delegate);
    }
    m_settingsTVC->setDelegate(delegate);
}

void SettingsVC::loadView()
{
    m_settingsV = Foundation::make<SettingsV>();
    setView(m_settingsV);
}

void SettingsVC::viewDidLoad()
{
    UIViewController::viewDidLoad();
    Basalwork::embed(*this, m_settingsTVC, *m_settingsV->tableContainer(), nullptr);
    handOnDelegate();
}

void SettingsVC::update(const Config& config, bool animated)
{
    m_settingsTVC->update(config.settingsTVCConfig, animated);
}

} // namespace Corvendale
