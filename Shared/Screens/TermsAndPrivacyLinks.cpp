#include "Shared/Screens/TermsAndPrivacyLinks.hpp"

#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Screens/TermsAndPrivacyLinksDelegate.hpp"

#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIControl.Event.hpp"
#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"

namespace Shared {

TermsAndPrivacyLinks::TermsAndPrivacyLinks()
    : UIView(UIKit::CGRect::zero())
{
}

void TermsAndPrivacyLinks::initialize()
{
    UIView::initialize();
    setAccessibilityIdentifier(Foundation::String("TermsAndPrivacyLinks"));
    setBackgroundColor(UIKit::UIColor::clear());
    auto row = Basalwork::UIStackViews::withAxis(UIKit::NSLayoutConstraint::Axis::horizontal, UIKit::UIStackView::Alignment::center,
                                                 UIKit::UIStackView::Distribution::fill, 16);
    auto link = [this, &row](const char* title, void (TermsAndPrivacyLinksDelegate::*requirement)(TermsAndPrivacyLinks&)) {
        auto button = Foundation::make<UIKit::UIButton>();
        button->setTitle(Foundation::String(title), UIKit::UIControl::State::normal());
        std::weak_ptr<TermsAndPrivacyLinks> weakSelf = sharedSelf(this);
        button->addAction(
            [weakSelf, requirement] {
                auto self = weakSelf.lock();
                if (auto delegate = self ? self->delegate() : nullptr)
                    ((*delegate).*requirement)(*self);
            },
            UIKit::UIControl::Event::touchUpInside());
        row->addArrangedSubview(button);
        return button;
    };
    m_termsOfUseButton = link("Terms of Use", &TermsAndPrivacyLinksDelegate::didSelectTermsOfUse);
    m_privacyPolicyButton = link("Privacy Policy", &TermsAndPrivacyLinksDelegate::didSelectPrivacyPolicy);
    Basalwork::addSubviewCentered(*this, row, Basalwork::LayoutInsets::zero(), 10000);
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void TermsAndPrivacyLinks::setTintColor(std::shared_ptr<UIKit::UIColor> color)
{
    UIView::setTintColor(color);
    m_termsOfUseButton->setTintColor(color);
    m_privacyPolicyButton->setTintColor(std::move(color));
}

void TermsAndPrivacyLinks::update(const Settings::Appearance& appearance)
{
    for (const auto& button : {m_termsOfUseButton, m_privacyPolicyButton})
        if (auto label = button->titleLabel())
            label->setFont(appearance.font(UIKit::UIFont::TextStyle::subheadline(), false));
}

} // namespace Shared
