#pragma once

#include "Corvendale/Screens/Settings/SettingsV_HeaderV_Delegate.hpp"

#include "Shared/Model/Settings.Auth.hpp"
#include "Shared/Model/Settings.Clipboard.hpp"

namespace Corvendale {

class AuthSettingsV;

class AuthSettingsVDelegate : public SettingsV_HeaderV_Delegate {
public:
    virtual void didSelectLockNow(AuthSettingsV& authSettingsV) = 0;
    virtual void didSelect(Shared::Settings::Auth::Method method, AuthSettingsV& authSettingsV) = 0;
    virtual void didSelect(Shared::Settings::Auth::RequireMasterPasswordInterval requireMasterPasswordInterval, AuthSettingsV& authSettingsV) = 0;
    virtual void didSelect(Shared::Settings::Auth::RequireMasterPasswordAfterDeviceRestart requireMasterPasswordAfterDeviceRestart,
                           AuthSettingsV& authSettingsV) = 0;
    virtual void didSelect(Shared::Settings::Auth::AutoBiometry autoBiometry, AuthSettingsV& authSettingsV) = 0;
    virtual void didSelect(Shared::Settings::Auth::AutoLock autoLock, AuthSettingsV& authSettingsV) = 0;
    virtual void didSelect(Shared::Settings::Auth::Expiration expiration, AuthSettingsV& authSettingsV) = 0;
    virtual void didSelect(Shared::Settings::Clipboard::AutoClear autoClear, AuthSettingsV& authSettingsV) = 0;
};

} // namespace Corvendale
