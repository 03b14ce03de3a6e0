#include "Corvendale/Screens/Settings/AuthSettingsC.hpp"

#include "Corvendale/Services/Dependencies.hpp"
#include "Corvendale/Screens/Settings/SettingsC.hpp"

#include "Shared/Stores/AuthenticationStore.hpp"

#include "Platform/UIKit/UIMenuSystem.hpp"

namespace Corvendale {

using Auth = Shared::Settings::Auth;

std::shared_ptr<AuthSettingsV> AuthSettingsC::makePageView()
{
    return Foundation::make<AuthSettingsV>(sharedSelf(this));
}

AuthSettingsV::Config AuthSettingsC::makeConfig()
{
    const auto& preferences = *dependencies().preferenceStore;
    return {preferences.authMethod(),   preferences.requireMasterPasswordInterval(), preferences.requireMasterPasswordAfterDeviceRestart(),
            preferences.autoBiometry(), preferences.autoLock(),
            preferences.expiration(),   preferences.autoClear()};
}

void AuthSettingsC::didSelectLockNow(AuthSettingsV&)
{
    // The settings go first, so the lock screen is what shows.
    if (auto settings = std::dynamic_pointer_cast<SettingsC>(delegate()))
        settings->dismissSettings();
    dependencies().authenticationStore->lock(Shared::AuthenticationStore::LockKind::requireMasterPassword, true, false,
                                             Foundation::String("AuthSettingsC.didSelectLockNow"));
}

void AuthSettingsC::didSelect(Auth::Method method, AuthSettingsV&)
{
    dependencies().preferenceStore->setAuthMethod(method);
    // The menu bar's unlock-with-biometry command follows the method.
    UIKit::UIMenuSystem::main()->setNeedsRebuild();
}

void AuthSettingsC::didSelect(Auth::RequireMasterPasswordInterval requireMasterPasswordInterval, AuthSettingsV&)
{
    dependencies().preferenceStore->setRequireMasterPasswordInterval(requireMasterPasswordInterval);
}

void AuthSettingsC::didSelect(Auth::RequireMasterPasswordAfterDeviceRestart requireMasterPasswordAfterDeviceRestart, AuthSettingsV&)
{
    dependencies().preferenceStore->setRequireMasterPasswordAfterDeviceRestart(requireMasterPasswordAfterDeviceRestart);
}

void AuthSettingsC::didSelect(Auth::AutoBiometry autoBiometry, AuthSettingsV&)
{
    dependencies().preferenceStore->setAutoBiometry(autoBiometry);
}

void AuthSettingsC::didSelect(Auth::AutoLock autoLock, AuthSettingsV&)
{
    dependencies().preferenceStore->setAutoLock(autoLock);
}

void AuthSettingsC::didSelect(Auth::Expiration expiration, AuthSettingsV&)
{
    dependencies().preferenceStore->setExpiration(expiration);
}

void AuthSettingsC::didSelect(Shared::Settings::Clipboard::AutoClear autoClear, AuthSettingsV&)
{
    dependencies().preferenceStore->setAutoClear(autoClear);
}

void AuthSettingsC::didSelectDone(SettingsVHeaderV&)
{
    dismissFromDelegate();
}

} // namespace Corvendale
