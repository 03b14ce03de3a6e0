#include "Corvendale/Screens/Settings/SettingsV.ActionV.hpp"

#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Screens/UIColor.hpp"

#include "Basalwork/Base/String.hpp"
#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/PromotionButton.hpp"
#include "Basalwork/Interface/UIFont.hpp"
#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIControl.Event.hpp"
#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"

namespace Corvendale {

using Axis = UIKit::NSLayoutConstraint::Axis;
using Alignment = UIKit::UIStackView::Alignment;
using Distribution = UIKit::UIStackView::Distribution;

SettingsVActionV::SettingsVActionV()
    : UIView(UIKit::CGRect::zero())
{
}

void SettingsVActionV::initialize()
{
    UIView::initialize();
    m_titleAndSubtitleContainer = Foundation::make<UIKit::UIStackView>();
    m_titleLabel = Foundation::make<UIKit::UILabel>();
    m_subtitleLabel = Foundation::make<UIKit::UILabel>();
    m_actionButton = Foundation::make<Basalwork::PromotionButton>();
    setup();
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void SettingsVActionV::setup()
{
    setAccessibilityIdentifier(Foundation::String("ActionV"));
    setBackgroundColor(UIKit::UIColor::clear());
    auto stack = Basalwork::UIStackViews::withAxis(Axis::vertical, Alignment::fill, Distribution::fill, 24);
    Basalwork::addSubviewWithEdgeContraints(*this, stack);

    Basalwork::set(*m_titleAndSubtitleContainer, Axis::vertical, Alignment::fill, Distribution::fill, 8);
    stack->addArrangedSubview(m_titleAndSubtitleContainer);
    m_titleLabel->setTextColor(Shared::UIColors::primaryTint());
    m_titleLabel->setNumberOfLines(0);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_titleLabel);
    m_titleAndSubtitleContainer->addArrangedSubview(m_titleLabel);
    m_subtitleLabel->setTextColor(Shared::UIColors::secondaryTint());
    m_subtitleLabel->setNumberOfLines(0);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_subtitleLabel);
    m_titleAndSubtitleContainer->addArrangedSubview(m_subtitleLabel);
    updateVisibility();

    auto buttonContainer = Basalwork::UIStackViews::withAxis(Axis::vertical, Alignment::fill, Distribution::fill, 8);
    stack->addArrangedSubview(buttonContainer);
    m_actionButton->setCornerRadius(10);
    m_actionButton->setTintColor(Shared::UIColors::tertiaryBackground());
    m_actionButton->setTitleTextColor(Shared::UIColors::primaryTint());
    m_actionButton->setSubtitleTextColor(Shared::UIColors::secondaryTint());
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_actionButton);
    std::weak_ptr<SettingsVActionV> weakSelf = sharedSelf(this);
    m_actionButton->addAction(
        [weakSelf] {
            if (auto self = weakSelf.lock())
                self->didSelectAction();
        },
        UIKit::UIControl::Event::touchUpInside());
    buttonContainer->addArrangedSubview(m_actionButton);
}

std::optional<Foundation::String> SettingsVActionV::titleText() const
{
    return m_titleLabel->text();
}

void SettingsVActionV::setTitleText(std::optional<Foundation::String> text)
{
    m_titleLabel->setText(std::move(text));
    updateVisibility();
}

std::optional<Foundation::String> SettingsVActionV::subtitleText() const
{
    return m_subtitleLabel->text();
}

void SettingsVActionV::setSubtitleText(std::optional<Foundation::String> text)
{
    m_subtitleLabel->setText(std::move(text));
    updateVisibility();
}

std::optional<Foundation::String> SettingsVActionV::actionTitleText() const
{
    return m_actionButton->titleText();
}

void SettingsVActionV::setActionTitleText(std::optional<Foundation::String> text)
{
    m_actionButton->setTitleText(std::move(text));
}

std::optional<Foundation::String> SettingsVActionV::actionSubtitleText() const
{
    return m_actionButton->subtitleText();
}

void SettingsVActionV::setActionSubtitleText(std::optional<Foundation::String> text)
{
    m_actionButton->setSubtitleText(std::move(text));
}

void SettingsVActionV::updateVisibility()
{
    const bool showsTitle = Basalwork::hasAtLeastOneNonWhitespaceCharacter(m_titleLabel->text());
    const bool showsSubtitle = Basalwork::hasAtLeastOneNonWhitespaceCharacter(m_subtitleLabel->text());
    Basalwork::setVisibilityAndAlpha(*m_titleLabel, showsTitle);
    Basalwork::setVisibilityAndAlpha(*m_subtitleLabel, showsSubtitle);
    Basalwork::setVisibilityAndAlpha(*m_titleAndSubtitleContainer, showsTitle || showsSubtitle);
}

void SettingsVActionV::didSelectAction()
{
    if (onSelection)
        onSelection();
}

void SettingsVActionV::update(const Shared::Settings::Appearance& appearance)
{
    const auto& title3 = UIKit::UIFont::TextStyle::title3();
    m_titleLabel->setFont(Basalwork::semibold(appearance.font(title3, false)));
    m_subtitleLabel->setFont(appearance.font(title3, false));
    m_actionButton->setTitleFont(appearance.font(title3, false));
    m_actionButton->setSubtitleFont(appearance.font(UIKit::UIFont::TextStyle::subheadline(), false));
}

} // namespace Corvendale
