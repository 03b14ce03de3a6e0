#pragma once

#include "Corvendale/Screens/Settings/SettingsTVC.hpp"

#include "Platform/UIKit/UIViewController.hpp"

#include <memory>

namespace Corvendale {

class SettingsV;
class SettingsVCDelegate;

// The settings screen: the header over the list. Its delegate (the settings coordinator) is handed on,
// weakly, to the view, the header and the list.
class SettingsVC : public UIKit::UIViewController {
public:
    struct Config {
        SettingsTVC::Config settingsTVCConfig;
    };

    std::shared_ptr<SettingsVCDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<SettingsVCDelegate>& delegate);
    // None until the view is loaded.
    const std::shared_ptr<SettingsV>& settingsV() const { return m_settingsV; }
    const std::shared_ptr<SettingsTVC>& settingsTVC() const { return m_settingsTVC; }

    void update(const Config& config, bool animated);
    void selectPreviousRow() { m_settingsTVC->selectPreviousRow(); }
    void selectNextRow() { m_settingsTVC->selectNextRow(); }
    void performSelectedRow() { m_settingsTVC->performSelectedRow(); }

    void loadView() override;
    void viewDidLoad() override;

protected:
    friend Foundation::Construct;
    SettingsVC();
    void initialize() override;

private:
    void handOnDelegate();

    std::weak_ptr<SettingsVCDelegate> m_delegate;
    std::shared_ptr<SettingsV> m_settingsV;
    std::shared_ptr<SettingsTVC> m_settingsTVC;
};

} // namespace Corvendale
