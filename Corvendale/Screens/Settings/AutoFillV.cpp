#include "Corvendale/Screens/Settings/AutoFillV.hpp"

#include "Corvendale/Screens/Settings/AutoFillV.DisableStepsV.hpp"
#include "Corvendale/Screens/Settings/AutoFillV.EnableStepsV.SafariStepsV.hpp"
#include "Corvendale/Screens/Settings/AutoFillV.EnableStepsV.SetupVerificationCodesStepsV.hpp"
#include "Corvendale/Screens/Settings/AutoFillV.EnableStepsV.hpp"
#include "Corvendale/Screens/Settings/AutoFillV.NotAvailableV.hpp"
#include "Corvendale/Screens/Settings/AutoFillVDelegate.hpp"
#include "Corvendale/Screens/Settings/SettingsV.HeaderV.hpp"

#include "Shared/Model/Global.hpp"
#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Screens/UIColor.hpp"

#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"

namespace Corvendale {

using Availability = Shared::RecordStoreAutoFillAvailability;
using Foundation::String;

AutoFillV::Config::Config(Availability autoFillAvailability, Shared::Settings::AutoFill::AutoCopyOTP autoCopyOTP, bool isNotificationPermissionMissing)
{
    const std::string name = Shared::Global::AutoFill::name().utf8();
    switch (autoFillAvailability) {
    case Availability::unsupportedSystem:
        messageText = String(name + " is available on macOS Big Sur and up. You'll need to update your Mac in order to enable it.\n\n"
            + "We strongly recommending backing up your Mac before updating.");
        isNotAvailableVisible = true;
        break;
    case Availability::disabled:
        messageText = String(name + " lets you quickly and easily sign into websites and apps. Follow the steps below to get started.");
        isEnableStepsVisible = true;
        break;
    case Availability::enabled: {
        messageText = String(name + " is enabled! You can now quickly and easily sign into websites in Safari.");
        isDisableStepsVisible = true;
        isSetupVerificationCodesStepsVisible = true;
        // Copying codes is announced by a notification: while that is not allowed, the line asks for it.
        const bool asksForNotifications = autoCopyOTP == Shared::Settings::AutoFill::AutoCopyOTP::enabled && isNotificationPermissionMissing;
        autoCopyOTPConfig = AutoCopyOTPV::Config {autoCopyOTP,
            asksForNotifications ? Shared::Global::AutoFill::AutoCopyOTPs::allowNotificationsMessage()
                                 : Shared::Global::AutoFill::AutoCopyOTPs::notificationExplanation()};
        break;
    }
    }
}

AutoFillV::AutoFillV(const std::shared_ptr<AutoFillVDelegate>& delegate)
    : m_delegate(delegate)
{
}

void AutoFillV::initialize()
{
    m_messageLabel = Foundation::make<UIKit::UILabel>();
    m_notAvailableV = Foundation::make<NotAvailableV>();
    m_enableStepsV = Foundation::make<EnableStepsV>();
    m_disableStepsV = Foundation::make<DisableStepsV>();
    m_autoCopyOTPV = Foundation::make<AutoCopyOTPV>();
    m_setupVerificationCodesStepsV = Foundation::make<SetupVerificationCodesStepsV>();
    m_enableSafariStepsV = Foundation::make<SafariStepsV>();
    SettingsPageV::initialize();
    setAccessibilityIdentifier(String("AutoFillV"));
    setupPage();
}

void AutoFillV::setDelegate(const std::shared_ptr<AutoFillVDelegate>& delegate)
{
    m_delegate = delegate;
    headerV()->setDelegate(delegate);
    m_autoCopyOTPV->setDelegate(delegate);
}

void AutoFillV::setupPage()
{
    auto delegate = m_delegate.lock();
    headerV()->setDelegate(delegate);
    headerV()->setTitle(Shared::Global::AutoFill::name());

    m_messageLabel->setTextColor(Shared::UIColors::primaryTint());
    m_messageLabel->setNumberOfLines(0);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_messageLabel);

    m_autoCopyOTPV->setDelegate(delegate);
    m_enableSafariStepsV->titleLabel()->setText(String("Reminder: Ensure password AutoFill is enabled in Safari:"));
    const auto& content = contentContainer();
    content->addArrangedSubview(m_messageLabel);
    content->addArrangedSubview(m_notAvailableV);
    content->addArrangedSubview(m_enableStepsV);
    content->addArrangedSubview(m_autoCopyOTPV);
    content->addArrangedSubview(m_setupVerificationCodesStepsV);
    content->addArrangedSubview(m_enableSafariStepsV);
    content->addArrangedSubview(m_disableStepsV);
}

void AutoFillV::update(const Config& config)
{
    m_messageLabel->setText(config.messageText);
    Basalwork::setVisibilityAndAlpha(*m_notAvailableV, config.isNotAvailableVisible);
    Basalwork::setVisibilityAndAlpha(*m_enableStepsV, config.isEnableStepsVisible);
    // Hidden, the option keeps what it last showed.
    if (config.autoCopyOTPConfig)
        m_autoCopyOTPV->update(*config.autoCopyOTPConfig);
    Basalwork::setVisibilityAndAlpha(*m_autoCopyOTPV, config.autoCopyOTPConfig.has_value());
    Basalwork::setVisibilityAndAlpha(*m_setupVerificationCodesStepsV, config.isSetupVerificationCodesStepsVisible);
    Basalwork::setVisibilityAndAlpha(*m_enableSafariStepsV, config.autoCopyOTPConfig.has_value());
    Basalwork::setVisibilityAndAlpha(*m_disableStepsV, config.isDisableStepsVisible);
}

void AutoFillV::update(const Shared::Settings::Appearance& appearance)
{
    SettingsPageV::update(appearance);
    m_messageLabel->setFont(appearance.font(UIKit::UIFont::TextStyle::title3(), false));
}

} // namespace Corvendale
