#include "Corvendale/Screens/Settings/SettingCell.hpp"

#include "Shared/Screens/UIColor.hpp"

#include "Basalwork/Base/Optional.hpp"
#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/UIFont.hpp"
#include "Basalwork/Interface/UILayoutPriority.hpp"
#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"

namespace Corvendale {

using Axis = UIKit::NSLayoutConstraint::Axis;

void SettingCell::initialize()
{
    UITableViewCell::initialize();
    m_titleLabel = Foundation::make<UIKit::UILabel>();
    m_requiresAttentionLabel = Foundation::make<UIKit::UILabel>();
    m_subtitleLabel = Foundation::make<UIKit::UILabel>();
    setup();
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void SettingCell::setup()
{
    setBackgroundColor(UIKit::UIColor::clear());
    contentView()->setBackgroundColor(UIKit::UIColor::clear());
    setSelectionStyle(SelectionStyle::none);

    auto stack = Basalwork::UIStackViews::withAxis(Axis::vertical, UIKit::UIStackView::Alignment::fill, UIKit::UIStackView::Distribution::fill, 4);
    Basalwork::addSubviewWithMarginContraints(*contentView(), stack);
    auto titleRow = Basalwork::UIStackViews::withAxis(Axis::horizontal, UIKit::UIStackView::Alignment::firstBaseline,
                                                      UIKit::UIStackView::Distribution::fill, 8);
    stack->addArrangedSubview(titleRow);
    stack->addArrangedSubview(m_subtitleLabel);

    m_titleLabel->setTextColor(Shared::UIColors::primaryTint());
    m_titleLabel->setNumberOfLines(0);
    m_titleLabel->setContentHuggingPriority(Basalwork::UILayoutPriorities::highest(), Axis::vertical);
    m_titleLabel->setContentCompressionResistancePriority(Basalwork::UILayoutPriorities::highest(), Axis::vertical);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_titleLabel);
    titleRow->addArrangedSubview(m_titleLabel);

    m_requiresAttentionLabel->setText(Foundation::String("!!!"));
    m_requiresAttentionLabel->setTextColor(Shared::UIColors::deleteRed());
    m_requiresAttentionLabel->setContentHuggingPriority(Basalwork::UILayoutPriorities::lowest(), Axis::horizontal);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_requiresAttentionLabel);
    titleRow->addArrangedSubview(m_requiresAttentionLabel);

    m_subtitleLabel->setTextColor(Shared::UIColors::secondaryTint());
    m_subtitleLabel->setNumberOfLines(0);
    m_subtitleLabel->setContentCompressionResistancePriority(Basalwork::UILayoutPriorities::highest(), Axis::vertical);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_subtitleLabel);
}

void SettingCell::update(const Shared::Settings::Appearance& appearance)
{
    auto titleFont = Basalwork::semibold(appearance.font(UIKit::UIFont::TextStyle::title3(), false));
    m_titleLabel->setFont(titleFont);
    m_requiresAttentionLabel->setFont(titleFont);
    m_subtitleLabel->setFont(appearance.font(UIKit::UIFont::TextStyle::subheadline(), false));
}

void SettingCell::configure(const Config& config)
{
    // The identifier follows the title, so a cell reused for another row is found under its new title.
    setAccessibilityIdentifier(Foundation::String("Corvendale.SettingCell." + Basalwork::nonOptionalDescription(config.titleText)));
    m_titleLabel->setText(config.titleText);
    m_titleLabel->setTextColor(config.isAttentionRequired ? Shared::UIColors::deleteRed() : Shared::UIColors::primaryTint());
    // The attention shows as the title's colour alone.
    Basalwork::setVisibilityAndAlpha(*m_requiresAttentionLabel, false);
    m_subtitleLabel->setText(config.subtitleText);
}

void SettingCell::setIsHighlighted(bool highlighted, bool animated)
{
    UITableViewCell::setIsHighlighted(highlighted, animated);
    updateBackground(animated);
}

void SettingCell::setIsSelected(bool selected, bool animated)
{
    UITableViewCell::setIsSelected(selected, animated);
    updateBackground(animated);
}

void SettingCell::updateBackground(bool animated)
{
    auto apply = [this] { setBackgroundColor(isHighlighted() || isSelected() ? Shared::UIColors::tertiaryBackground() : nullptr); };
    if (animated)
        UIKit::UIView::animate(0.25, apply);
    else
        apply();
}

} // namespace Corvendale
