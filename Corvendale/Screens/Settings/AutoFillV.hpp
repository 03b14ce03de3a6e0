#pragma once

#include "Corvendale/Screens/Settings/AutoFillV.AutoCopyOTPV.hpp"
#include "Corvendale/Screens/Settings/SettingsPageV.hpp"

#include "Shared/Stores/RecordStore.AutoFillAvailability.hpp"

#include "Platform/Foundation/String.hpp"

#include <memory>
#include <optional>

namespace UIKit {
class UILabel;
}

namespace Corvendale {

class AutoFillVDelegate;
class AutoFillVDisableStepsV;
class AutoFillVEnableStepsV;
class AutoFillVEnableStepsVSafariStepsV;
class AutoFillVEnableStepsVSetupVerificationCodesStepsV;
class AutoFillVNotAvailableV;

// The AutoFill page: where the system's AutoFill stands for the program and how to change it. Too old
// a system: the update steps; available but off: the steps that switch it on; on: a confirmation, the
// one-time password option with its notification line, how to set up one-time passwords, a reminder of
// the browser's steps and how to switch AutoFill off again. The page only explains: AutoFill is switched
// in the system's settings.
class AutoFillV : public SettingsPageV {
public:
    using NotAvailableV = AutoFillVNotAvailableV;
    using EnableStepsV = AutoFillVEnableStepsV;
    using DisableStepsV = AutoFillVDisableStepsV;
    using AutoCopyOTPV = AutoFillVAutoCopyOTPV;
    using SetupVerificationCodesStepsV = AutoFillVEnableStepsVSetupVerificationCodesStepsV;
    using SafariStepsV = AutoFillVEnableStepsVSafariStepsV;

    struct Config {
        Foundation::String messageText;
        bool isNotAvailableVisible = false;
        bool isEnableStepsVisible = false;
        bool isDisableStepsVisible = false;
        bool isSetupVerificationCodesStepsVisible = false;
        // Only while AutoFill is on.
        std::optional<AutoCopyOTPV::Config> autoCopyOTPConfig;

        Config(Shared::RecordStoreAutoFillAvailability autoFillAvailability, Shared::Settings::AutoFill::AutoCopyOTP autoCopyOTP,
            bool isNotificationPermissionMissing);
        friend bool operator==(const Config&, const Config&) = default;
    };

    std::shared_ptr<AutoFillVDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<AutoFillVDelegate>& delegate);

    const std::shared_ptr<UIKit::UILabel>& messageLabel() const { return m_messageLabel; }
    const std::shared_ptr<NotAvailableV>& notAvailableV() const { return m_notAvailableV; }
    const std::shared_ptr<EnableStepsV>& enableStepsV() const { return m_enableStepsV; }
    const std::shared_ptr<DisableStepsV>& disableStepsV() const { return m_disableStepsV; }
    const std::shared_ptr<AutoCopyOTPV>& autoCopyOTPV() const { return m_autoCopyOTPV; }
    const std::shared_ptr<SetupVerificationCodesStepsV>& setupVerificationCodesStepsV() const { return m_setupVerificationCodesStepsV; }
    const std::shared_ptr<SafariStepsV>& enableSafariStepsV() const { return m_enableSafariStepsV; }

    void update(const Config& config);
    void update(const Shared::Settings::Appearance& appearance) override;

protected:
    friend Foundation::Construct;
    explicit AutoFillV(const std::shared_ptr<AutoFillVDelegate>& delegate);
    void initialize() override;
    void setupPage();

private:
    std::weak_ptr<AutoFillVDelegate> m_delegate;
    std::shared_ptr<UIKit::UILabel> m_messageLabel;
    std::shared_ptr<NotAvailableV> m_notAvailableV;
    std::shared_ptr<EnableStepsV> m_enableStepsV;
    std::shared_ptr<DisableStepsV> m_disableStepsV;
    std::shared_ptr<AutoCopyOTPV> m_autoCopyOTPV;
    std::shared_ptr<SetupVerificationCodesStepsV> m_setupVerificationCodesStepsV;
    std::shared_ptr<SafariStepsV> m_enableSafariStepsV;
};

} // namespace Corvendale
