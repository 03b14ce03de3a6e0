#include "Corvendale/Screens/Settings/AppVersionCell.hpp"

#include "Corvendale/Screens/Settings/AppVersionCellDelegate.hpp"

#include "Shared/Screens/TermsAndPrivacyLinks.hpp"
#include "Shared/Screens/UIColor.hpp"

#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"
#include "Platform/UIKit/UITapGestureRecognizer.hpp"

namespace Corvendale {

void AppVersionCell::initialize()
{
    UITableViewCell::initialize();
    m_termsAndPrivacyLinks = Foundation::make<Shared::TermsAndPrivacyLinks>();
    m_versionLabel = Foundation::make<UIKit::UILabel>();
    setup();
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void AppVersionCell::setDelegate(const std::shared_ptr<AppVersionCellDelegate>& delegate)
{
    m_delegate = delegate;
    m_termsAndPrivacyLinks->setDelegate(delegate);
}

void AppVersionCell::setup()
{
    setAccessibilityIdentifier(Foundation::String("AppVersionCell"));
    setBackgroundColor(UIKit::UIColor::clear());
    contentView()->setBackgroundColor(UIKit::UIColor::clear());
    setSelectionStyle(SelectionStyle::none);
    auto stack = Basalwork::UIStackViews::withAxis(UIKit::NSLayoutConstraint::Axis::vertical, UIKit::UIStackView::Alignment::fill,
                                                   UIKit::UIStackView::Distribution::fill, 0);
    Basalwork::addSubviewWithMarginContraints(*contentView(), stack);

    m_termsAndPrivacyLinks->setTintColor(Shared::UIColors::secondaryTint());
    stack->addArrangedSubview(m_termsAndPrivacyLinks);

    m_versionLabel->setAccessibilityIdentifier(Foundation::String("AppVersionCell.versionLabel"));
    m_versionLabel->setTextAlignment(UIKit::NSTextAlignment::center);
    m_versionLabel->setTextColor(Shared::UIColors::tertiaryTint());
    m_versionLabel->setIsUserInteractionEnabled(true);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_versionLabel);
    std::weak_ptr<AppVersionCell> weakSelf = sharedSelf(this);
    m_versionLabel->addGestureRecognizer(Foundation::make<UIKit::UITapGestureRecognizer>([weakSelf](UIKit::UIGestureRecognizer&) {
        if (auto self = weakSelf.lock())
            self->didSelectVersionLabel();
    }));
    stack->addArrangedSubview(m_versionLabel);
}

void AppVersionCell::update(const Shared::Settings::Appearance& appearance)
{
    m_versionLabel->setFont(appearance.font(UIKit::UIFont::TextStyle::subheadline(), false));
}

void AppVersionCell::configure(const Config& config)
{
    m_versionLabel->setText(config.versionText);
}

void AppVersionCell::didSelectVersionLabel()
{
    if (auto delegate = m_delegate.lock())
        delegate->didSelectVersionLabel(*m_versionLabel, *this);
}

} // namespace Corvendale
