#include "Basalwork/Interface/PromotionButton.hpp"

#include "Platform/UIKit/CALayer.hpp"
#include "Platform/UIKit/NSTextAlignment.hpp"
#include "Platform/UIKit/UILayoutGuide.hpp"

namespace Basalwork {

using UIKit::UIControl;


PromotionButton::PromotionButton(const UIKit::CGRect& frame)
    : BorderShadowableControl(frame)
{
}

PromotionButton::PromotionButton(Foundation::NSCoder& coder)
    : BorderShadowableControl(coder)
{
}

void PromotionButton::initialize()
{
    BorderShadowableControl::initialize();
    setup();
}

void PromotionButton::awakeFromNib()
{
    BorderShadowableControl::awakeFromNib();
    setup();
}

void PromotionButton::prepareForInterfaceBuilder()
{
    BorderShadowableControl::prepareForInterfaceBuilder();
    setup();
}

void PromotionButton::setup()
{
    layer()->setMasksToBounds(true);
    setTranslatesAutoresizingMaskIntoConstraints(false);
    m_contentContainer->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_titleLabel->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_subtitleLabel->setTranslatesAutoresizingMaskIntoConstraints(false);

    m_contentContainer->setAxis(UIKit::NSLayoutConstraint::Axis::vertical);
    m_contentContainer->setAlignment(UIKit::UIStackView::Alignment::fill);
    m_contentContainer->setDistribution(UIKit::UIStackView::Distribution::fill);
    m_contentContainer->setSpacing(2.0);
    m_contentContainer->setIsUserInteractionEnabled(false);
    addSubview(m_contentContainer);

    const auto& margins = layoutMarginsGuide();
    UIKit::NSLayoutConstraint::activate({
        margins->leadingAnchor().constraintEqualTo(m_contentContainer->leadingAnchor()),
        margins->trailingAnchor().constraintEqualTo(m_contentContainer->trailingAnchor()),
        margins->topAnchor().constraintEqualTo(m_contentContainer->topAnchor()),
        margins->bottomAnchor().constraintEqualTo(m_contentContainer->bottomAnchor()),
        heightAnchor().constraintGreaterThanOrEqualToConstant(50.0),
    });

    m_titleLabel->setIsUserInteractionEnabled(false);
    m_titleLabel->setFont(UIKit::UIFont::preferredFont(UIKit::UIFont::TextStyle::headline()));
    m_titleLabel->setTextAlignment(UIKit::NSTextAlignment::center);
    m_titleLabel->setTextColor(UIKit::UIColor::white());
    m_contentContainer->addArrangedSubview(m_titleLabel);

    m_subtitleLabel->setFont(UIKit::UIFont::preferredFont(UIKit::UIFont::TextStyle::footnote()));
    m_subtitleLabel->setTextAlignment(UIKit::NSTextAlignment::center);
    m_subtitleLabel->setTextColor(UIKit::UIColor::white());
    m_contentContainer->addArrangedSubview(m_subtitleLabel);
}

std::shared_ptr<UIKit::UIColor> PromotionButton::backgroundColor(UIControl::State state) const
{
    if (!isEnabled())
        return UIKit::UIColor::placeholderText();
    auto tint = tintColor();
    if (tint && state == UIControl::State::highlighted())
        return tint->withAlphaComponent(0.75);
    return tint;
}

void PromotionButton::updateAppearance()
{
    setBackgroundColor(backgroundColor(state()));
}

void PromotionButton::didMoveToWindow()
{
    BorderShadowableControl::didMoveToWindow();
    updateAppearance();
}

void PromotionButton::setIsEnabled(bool enabled)
{
    BorderShadowableControl::setIsEnabled(enabled);
    updateAppearance();
}

void PromotionButton::setIsHighlighted(bool highlighted)
{
    bool wasHighlighted = isHighlighted();
    BorderShadowableControl::setIsHighlighted(highlighted);
    if (wasHighlighted == highlighted)
        return;
    // The press shows at once; the release fades back.
    UIKit::UIView::transition(sharedSelf(this), highlighted ? 0.0 : 0.35,
                       UIKit::UIView::AnimationOptions::transitionCrossDissolve() | UIKit::UIView::AnimationOptions::allowUserInteraction(),
                       [this] { updateAppearance(); }, nullptr);
}

void PromotionButton::setSubtitleText(std::optional<Foundation::String> text)
{
    m_subtitleLabel->setText(std::move(text));
    bool hidden = !m_subtitleLabel->text().has_value();
    if (m_subtitleLabel->isHidden() != hidden)
        m_subtitleLabel->setIsHidden(hidden);
}

UpdateableFonts PromotionButton::updateableFonts() const
{
    return {m_titleLabel->font(), m_subtitleLabel->font()};
}

void PromotionButton::setUpdateableFonts(const UpdateableFonts& fonts)
{
    m_titleLabel->setFont(fonts.empty() ? nullptr : fonts[0]);
    m_subtitleLabel->setFont(fonts.size() < 2 ? nullptr : fonts[1]);
}

} // namespace Basalwork
