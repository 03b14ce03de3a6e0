#pragma once

#include "Corvendale/Screens/Settings/SettingsPageV.hpp"

#include "Shared/Model/Settings.Auth.hpp"
#include "Shared/Model/Settings.Clipboard.hpp"

#include "Platform/Foundation/String.hpp"

#include <memory>

namespace Corvendale {

class AuthSettingsVDelegate;
class SettingsVActionV;
template <Shared::SettingType T>
class SettingsVOptionSettingV;

// The authentication and security page: Lock Now, then how the locked program may be unlocked, when
// the master password is still required, and when the program locks itself and clears the clipboard.
// The biometric rows show only for an unlock method that has biometrics, and name them.
class AuthSettingsV : public SettingsPageV {
public:
    struct Config {
        Shared::Settings::Auth::Method method;
        Shared::Settings::Auth::RequireMasterPasswordInterval requireMasterPasswordInterval;
        Shared::Settings::Auth::RequireMasterPasswordAfterDeviceRestart requireMasterPasswordAfterDeviceRestart;
        Shared::Settings::Auth::AutoBiometry autoBiometry;
        Shared::Settings::Auth::AutoLock autoLock;
        Shared::Settings::Auth::Expiration expiration;
        Shared::Settings::Clipboard::AutoClear autoClear;
    };

    // "Touch ID or Apple Watch": the method's biometries by name, joined with "or".
    static Foundation::String biometryText(Shared::Settings::Auth::Method method);

    std::shared_ptr<AuthSettingsVDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<AuthSettingsVDelegate>& delegate);

    const std::shared_ptr<SettingsVActionV>& lockNowV() const { return m_lockNowV; }
    const std::shared_ptr<SettingsVOptionSettingV<Shared::Settings::Auth::Method>>& methodV() const { return m_methodV; }
    const std::shared_ptr<SettingsVOptionSettingV<Shared::Settings::Auth::RequireMasterPasswordInterval>>& requireMasterPasswordIntervalV() const
    {
        return m_requireMasterPasswordIntervalV;
    }
    const std::shared_ptr<SettingsVOptionSettingV<Shared::Settings::Auth::RequireMasterPasswordAfterDeviceRestart>>&
    requireMasterPasswordAfterDeviceRestartV() const
    {
        return m_requireMasterPasswordAfterDeviceRestartV;
    }
    const std::shared_ptr<SettingsVOptionSettingV<Shared::Settings::Auth::AutoBiometry>>& autoBiometryV() const { return m_autoBiometryV; }
    const std::shared_ptr<SettingsVOptionSettingV<Shared::Settings::Auth::AutoLock>>& autoLockV() const { return m_autoLockV; }
    const std::shared_ptr<SettingsVOptionSettingV<Shared::Settings::Auth::Expiration>>& expirationV() const { return m_expirationV; }
    const std::shared_ptr<SettingsVOptionSettingV<Shared::Settings::Clipboard::AutoClear>>& autoClearV() const { return m_autoClearV; }

    void update(const Config& config);
    using SettingsPageV::update;

protected:
    friend Foundation::Construct;
    explicit AuthSettingsV(const std::shared_ptr<AuthSettingsVDelegate>& delegate);
    void initialize() override;
    void setupPage();

private:
    std::weak_ptr<AuthSettingsVDelegate> m_delegate;
    std::shared_ptr<SettingsVActionV> m_lockNowV;
    std::shared_ptr<SettingsVOptionSettingV<Shared::Settings::Auth::Method>> m_methodV;
    std::shared_ptr<SettingsVOptionSettingV<Shared::Settings::Auth::RequireMasterPasswordInterval>> m_requireMasterPasswordIntervalV;
    std::shared_ptr<SettingsVOptionSettingV<Shared::Settings::Auth::RequireMasterPasswordAfterDeviceRestart>> m_requireMasterPasswordAfterDeviceRestartV;
    std::shared_ptr<SettingsVOptionSettingV<Shared::Settings::Auth::AutoBiometry>> m_autoBiometryV;
    std::shared_ptr<SettingsVOptionSettingV<Shared::Settings::Auth::AutoLock>> m_autoLockV;
    std::shared_ptr<SettingsVOptionSettingV<Shared::Settings::Auth::Expiration>> m_expirationV;
    std::shared_ptr<SettingsVOptionSettingV<Shared::Settings::Clipboard::AutoClear>> m_autoClearV;
};

} // namespace Corvendale
