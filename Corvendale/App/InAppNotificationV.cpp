#include "Corvendale/App/InAppNotificationV.hpp"

#include "Corvendale/App/InAppNotificationVDelegate.hpp"

#include "Shared/Model/Settings.Appearance.hpp"

#include "Basalwork/Interface/LayoutInsets.hpp"
#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/UIFont.hpp"
#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UIView.Shadow.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"

namespace Corvendale {

InAppNotificationV::InAppNotificationV()
    : BorderShadowableView(UIKit::CGRect::zero())
{
}

void InAppNotificationV::initialize()
{
    BorderShadowableView::initialize();
    m_titleLabel = Foundation::make<UIKit::UILabel>();
    m_subtitleLabel = Foundation::make<UIKit::UILabel>();
    setUpViews();
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void InAppNotificationV::setUpViews()
{
    setAccessibilityIdentifier(Foundation::String("InAppNotificationV"));
    setShadow(Shadow {0.2, 10.0, UIKit::CGSize {0, 6}, UIKit::UIColor::black(), nullptr});

    auto stackView = Basalwork::UIStackViews::withAxis(UIKit::NSLayoutConstraint::Axis::vertical, UIKit::UIStackView::Alignment::fill,
                                                       UIKit::UIStackView::Distribution::fill, 0);
    stackView->setIsUserInteractionEnabled(false);
    Basalwork::addSubviewWithMarginContraints(*this, stackView, Basalwork::LayoutInsets(20, 20, 4, 4));

    for (const auto& label : {m_titleLabel, m_subtitleLabel}) {
        label->setTextAlignment(UIKit::NSTextAlignment::center);
        Basalwork::registerForPreferredContentSizeCategoryChanges(label);
        stackView->addArrangedSubview(label);
    }
    m_titleLabel->setTextColor(UIKit::UIColor::label());
    m_subtitleLabel->setTextColor(UIKit::UIColor::secondaryLabel());
}

void InAppNotificationV::update(const Shared::Settings::Appearance& appearance)
{
    setBackgroundColor(UIKit::UIColor::systemBackground());
    m_titleLabel->setFont(Basalwork::semibold(appearance.font(UIKit::UIFont::TextStyle::body(), false)));
    m_subtitleLabel->setFont(appearance.font(UIKit::UIFont::TextStyle::subheadline(), false));
}

void InAppNotificationV::configure(const Config& config)
{
    m_titleLabel->setText(config.titleText);
    m_subtitleLabel->setText(config.subtitleText);
    // An empty subtitle still shows: it is text.
    Basalwork::setVisibilityAndAlpha(*m_subtitleLabel, config.subtitleText.has_value());
}

void InAppNotificationV::layoutSubviews()
{
    BorderShadowableView::layoutSubviews();
    setCornerRadius(bounds().size.height / 2);
}

void InAppNotificationV::didPanOrScrollUp()
{
    if (auto delegate = m_delegate.lock())
        delegate->inAppNotificationVDidPanOrScrollUp(*this);
}

void InAppNotificationV::touchesMoved(const std::vector<std::shared_ptr<UIKit::UITouch>>&, const std::shared_ptr<UIKit::UIEvent>&)
{
    didPanOrScrollUp();
}

} // namespace Corvendale
