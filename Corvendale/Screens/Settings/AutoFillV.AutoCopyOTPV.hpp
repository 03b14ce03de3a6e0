#pragma once

#include "Shared/Model/Settings.AutoFill.hpp"
#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <memory>

namespace UIKit {
class UILabel;
}

namespace Corvendale {

class AutoFillV_AutoCopyOTPV_Delegate;
template <Shared::SettingType T>
class SettingsVOptionSettingV;

// AutoFillV.AutoCopyOTPV: whether filling in a password also copies the item's one-time password, with
// a line about the notification that says so.
class AutoFillVAutoCopyOTPV : public UIKit::UIView, public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    using AutoCopyOTP = Shared::Settings::AutoFill::AutoCopyOTP;
    struct Config {
        AutoCopyOTP autoCopyOTP;
        Foundation::String notificationMessageText;

        friend bool operator==(const Config&, const Config&) = default;
    };

    std::shared_ptr<AutoFillV_AutoCopyOTPV_Delegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<AutoFillV_AutoCopyOTPV_Delegate>& delegate) { m_delegate = delegate; }
    const std::shared_ptr<SettingsVOptionSettingV<AutoCopyOTP>>& autoCopyOTPV() const { return m_autoCopyOTPV; }
    const std::shared_ptr<UIKit::UILabel>& notificationMessageLabel() const { return m_notificationMessageLabel; }

    void update(const Config& config);
    void update(const Shared::Settings::Appearance& appearance) override;

protected:
    friend Foundation::Construct;
    AutoFillVAutoCopyOTPV();
    void initialize() override;

private:
    std::weak_ptr<AutoFillV_AutoCopyOTPV_Delegate> m_delegate;
    std::shared_ptr<SettingsVOptionSettingV<AutoCopyOTP>> m_autoCopyOTPV;
    std::shared_ptr<UIKit::UILabel> m_notificationMessageLabel;
};

} // namespace Corvendale
