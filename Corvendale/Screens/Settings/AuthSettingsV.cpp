#include "Corvendale/Screens/Settings/AuthSettingsV.hpp"

#include "Corvendale/Screens/Settings/AuthSettingsVDelegate.hpp"
#include "Corvendale/Screens/Settings/SettingsV.ActionV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.HeaderV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.OptionSettingV.hpp"

#include "Shared/Model/Global.hpp"

#include "Basalwork/Base/Array.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIStackView.hpp"

#include <vector>

namespace Corvendale {

using Foundation::String;
using Auth = Shared::Settings::Auth;

AuthSettingsV::AuthSettingsV(const std::shared_ptr<AuthSettingsVDelegate>& delegate)
    : m_delegate(delegate)
{
}

void AuthSettingsV::initialize()
{
    SettingsPageV::initialize();
    setAccessibilityIdentifier(String("AuthSettingsV"));
    setupPage();
}

void AuthSettingsV::setDelegate(const std::shared_ptr<AuthSettingsVDelegate>& delegate)
{
    m_delegate = delegate;
    headerV()->setDelegate(delegate);
}

String AuthSettingsV::biometryText(Auth::Method method)
{
    std::vector<String> names;
    for (auto biometry : Auth::availableBiometries(method)) {
        switch (biometry) {
        case Shared::Biometry::touchID: names.emplace_back("Touch ID"); break;
        case Shared::Biometry::faceID: names.emplace_back("Face ID"); break;
        case Shared::Biometry::appleWatch: names.emplace_back("Apple Watch"); break;
        case Shared::Biometry::none: break;
        }
    }
    return Basalwork::joined(names, Basalwork::Array::OxfordCommaMode::or_);
}

void AuthSettingsV::setupPage()
{
    const std::string product = Shared::Global::corvendale().utf8();
    headerV()->setTitle(String("Authentication & Security"));
    headerV()->setDelegate(m_delegate.lock());
    auto self = sharedSelf(this);

    m_lockNowV = Foundation::make<SettingsVActionV>();
    m_lockNowV->setActionTitleText(String("Lock Now"));
    m_lockNowV->setActionSubtitleText(String("Master password required on next unlock"));
    std::weak_ptr<AuthSettingsV> weakSelf = self;
    m_lockNowV->onSelection = [weakSelf] {
        auto page = weakSelf.lock();
        if (auto delegate = page ? page->delegate() : nullptr)
            delegate->didSelectLockNow(*page);
    };
    contentContainer()->addArrangedSubview(m_lockNowV);

    m_methodV = addOptionList<Auth::Method>(self, String("While " + product + " is locked, allow unlocking with:"));
    m_requireMasterPasswordIntervalV = addOptionList<Auth::RequireMasterPasswordInterval>(
        self, String("When using biometrics to unlock " + product + ", require master password:"));
    m_requireMasterPasswordAfterDeviceRestartV =
        addOptionList<Auth::RequireMasterPasswordAfterDeviceRestart>(self, String("After this device has been restarted:"));
    m_autoBiometryV =
        addOptionList<Auth::AutoBiometry>(self, String("While " + product + " is locked, automatically attempt biometric unlock:"));
    m_autoLockV =
        addOptionList<Auth::AutoLock>(self, String("While " + product + " is open, automatically lock after a period of inactivity:"));
    m_expirationV = addOptionList<Auth::Expiration>(self, String("After " + product + " or " + Shared::Global::AutoFill::name().utf8()
                                                                  + " is closed, keep unlocked for a period of time:"));
    m_autoClearV = addOptionList<Shared::Settings::Clipboard::AutoClear>(
        self, String(std::string("When content is copied to the clipboard, automatically clear after a period of time") + " (or on Quit):"));
}

void AuthSettingsV::update(const Config& config)
{
    const std::string product = Shared::Global::corvendale().utf8();
    m_methodV->setSelected(config.method);
    const bool hasBiometry = !Auth::availableBiometries(config.method).empty();
    if (!hasBiometry) {
        // Their selections stay, so switching back shows what is stored.
        Basalwork::setVisibilityAndAlpha(*m_requireMasterPasswordIntervalV, false);
        Basalwork::setVisibilityAndAlpha(*m_requireMasterPasswordAfterDeviceRestartV, false);
        Basalwork::setVisibilityAndAlpha(*m_autoBiometryV, false);
    } else {
        const std::string biometry = biometryText(config.method).utf8();
        m_requireMasterPasswordIntervalV->setTitleText(String("When using " + biometry + " to unlock " + product + ", require master password:"));
        m_requireMasterPasswordIntervalV->setSelected(config.requireMasterPasswordInterval);
        Basalwork::setVisibilityAndAlpha(*m_requireMasterPasswordIntervalV, true);

        m_requireMasterPasswordAfterDeviceRestartV->updateOptionTitles([&biometry](const Auth::RequireMasterPasswordAfterDeviceRestart& option) {
            return option == Auth::RequireMasterPasswordAfterDeviceRestart::disabled ? String("Allow unlocking with " + biometry)
                                                                                    : String("Require master password to unlock");
        });
        m_requireMasterPasswordAfterDeviceRestartV->setSelected(config.requireMasterPasswordAfterDeviceRestart);
        Basalwork::setVisibilityAndAlpha(*m_requireMasterPasswordAfterDeviceRestartV, true);

        m_autoBiometryV->setTitleText(String("While " + product + " is locked, automatically unlock using " + biometry + ":"));
        m_autoBiometryV->setSelected(config.autoBiometry);
        Basalwork::setVisibilityAndAlpha(*m_autoBiometryV, true);
    }
    m_autoLockV->setSelected(config.autoLock);
    m_expirationV->setSelected(config.expiration);
    m_autoClearV->setSelected(config.autoClear);
}

} // namespace Corvendale
