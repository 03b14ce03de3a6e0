#pragma once

#include "Corvendale/Screens/Settings/AuthSettingsCDelegate.hpp"
#include "Corvendale/Screens/Settings/AuthSettingsV.hpp"
#include "Corvendale/Screens/Settings/AuthSettingsVDelegate.hpp"
#include "Corvendale/Screens/Settings/SettingsPageC.hpp"

namespace Corvendale {

// The authentication and security page's controller: writes each choice to the preference store and
// locks on Lock Now, after leaving the settings.
class AuthSettingsC : public SettingsPageC<AuthSettingsV, AuthSettingsCDelegate>, public AuthSettingsVDelegate {
public:
    void didSelectLockNow(AuthSettingsV& authSettingsV) override;
    void didSelect(Shared::Settings::Auth::Method method, AuthSettingsV& authSettingsV) override;
    void didSelect(Shared::Settings::Auth::RequireMasterPasswordInterval requireMasterPasswordInterval, AuthSettingsV& authSettingsV) override;
    void didSelect(Shared::Settings::Auth::RequireMasterPasswordAfterDeviceRestart requireMasterPasswordAfterDeviceRestart,
                   AuthSettingsV& authSettingsV) override;
    void didSelect(Shared::Settings::Auth::AutoBiometry autoBiometry, AuthSettingsV& authSettingsV) override;
    void didSelect(Shared::Settings::Auth::AutoLock autoLock, AuthSettingsV& authSettingsV) override;
    void didSelect(Shared::Settings::Auth::Expiration expiration, AuthSettingsV& authSettingsV) override;
    void didSelect(Shared::Settings::Clipboard::AutoClear autoClear, AuthSettingsV& authSettingsV) override;
    void didSelectDone(SettingsVHeaderV& headerV) override;

protected:
    friend Foundation::Construct;
    using SettingsPageC::SettingsPageC;
    std::shared_ptr<AuthSettingsV> makePageView() override;
    AuthSettingsV::Config makeConfig() override;
};

} // namespace Corvendale
