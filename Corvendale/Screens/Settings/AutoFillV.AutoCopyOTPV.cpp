#include "Corvendale/Screens/Settings/AutoFillV.AutoCopyOTPV.hpp"

#include "Corvendale/Screens/Settings/AutoFillV_AutoCopyOTPV_Delegate.hpp"
#include "Corvendale/Screens/Settings/SettingsV.OptionSettingV.hpp"

#include "Shared/Model/Global.hpp"
#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Screens/UIColor.hpp"

#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"

namespace Corvendale {

AutoFillVAutoCopyOTPV::AutoFillVAutoCopyOTPV()
    : UIView(UIKit::CGRect::zero())
{
}

void AutoFillVAutoCopyOTPV::initialize()
{
    UIView::initialize();
    m_autoCopyOTPV = Foundation::make<SettingsVOptionSettingV<AutoCopyOTP>>();
    m_notificationMessageLabel = Foundation::make<UIKit::UILabel>();
    setAccessibilityIdentifier(Foundation::String("AutoCopyOTPV"));
    setBackgroundColor(UIKit::UIColor::clear());
    auto stack = Basalwork::UIStackViews::withAxis(
        UIKit::NSLayoutConstraint::Axis::vertical, UIKit::UIStackView::Alignment::fill, UIKit::UIStackView::Distribution::fill, 24);
    Basalwork::addSubviewWithEdgeContraints(*this, stack);

    m_autoCopyOTPV->setTitleText(Foundation::String(Shared::Global::AutoFill::AutoCopyOTPs::description().utf8() + "?"));
    std::weak_ptr<AutoFillVAutoCopyOTPV> weakSelf = sharedSelf(this);
    m_autoCopyOTPV->onSelection = [weakSelf](const AutoCopyOTP& value) {
        auto self = weakSelf.lock();
        if (auto delegate = self ? self->delegate() : nullptr)
            delegate->didSelect(value, *self);
    };
    stack->addArrangedSubview(m_autoCopyOTPV);

    m_notificationMessageLabel->setTextColor(Shared::UIColors::secondaryTint());
    m_notificationMessageLabel->setNumberOfLines(0);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_notificationMessageLabel);
    stack->addArrangedSubview(m_notificationMessageLabel);
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void AutoFillVAutoCopyOTPV::update(const Config& config)
{
    m_autoCopyOTPV->setSelected(config.autoCopyOTP);
    m_notificationMessageLabel->setText(config.notificationMessageText);
}

void AutoFillVAutoCopyOTPV::update(const Shared::Settings::Appearance& appearance)
{
    m_notificationMessageLabel->setFont(appearance.font(UIKit::UIFont::TextStyle::title3(), false));
}

} // namespace Corvendale
