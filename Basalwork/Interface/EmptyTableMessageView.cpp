#include "Basalwork/Interface/EmptyTableMessageView.hpp"

#include "Basalwork/Interface/CenterInConstraints.hpp"
#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/UIKit/UIStackView.hpp"

namespace Basalwork {
namespace {

std::shared_ptr<UIKit::UILabel> makeMessageLabel(const UIKit::UIFont::TextStyle& style)
{
    auto label = Foundation::make<UIKit::UILabel>();
    label->setText(Foundation::String(" "));
    label->setFont(UIKit::UIFont::preferredFont(style));
    label->setTextAlignment(UIKit::NSTextAlignment::center);
    label->setNumberOfLines(0);
    label->setContentHuggingPriority(UIKit::UILayoutPriority::defaultHigh(), UIKit::NSLayoutConstraint::Axis::horizontal);
    label->setContentHuggingPriority(UIKit::UILayoutPriority::defaultHigh(), UIKit::NSLayoutConstraint::Axis::vertical);
    registerForPreferredContentSizeCategoryChanges(label);
    return label;
}

} // namespace

EmptyTableMessageView::EmptyTableMessageView(Foundation::NSCoder& coder)
    : UIView(coder)
{
    Foundation::fatalError("init(coder:) has not been implemented");
}

void EmptyTableMessageView::initialize()
{
    UIView::initialize();
    setupViews();
}

void EmptyTableMessageView::setupViews()
{
    auto stack = Foundation::make<UIKit::UIStackView>();
    stack->setAxis(UIKit::NSLayoutConstraint::Axis::vertical);
    stack->setAlignment(UIKit::UIStackView::Alignment::fill);
    stack->setDistribution(UIKit::UIStackView::Distribution::fill);
    stack->setSpacing(4.0);
    addSubviewCenteredLimitedToMargins(*this, stack, LayoutInsets::zero(), 1'000'000,
                                       [this](const CenterInConstraints& constraints) {
                                           m_centerYConstraint = constraints.centerY();
                                       });
    auto maxWidth = stack->widthAnchor().constraintLessThanOrEqualToConstant(400.0);
    maxWidth->setIsActive(true);
    m_titleLabel = makeMessageLabel(UIKit::UIFont::TextStyle::title1());
    m_subtitleLabel = makeMessageLabel(UIKit::UIFont::TextStyle::title3());
    stack->addArrangedSubview(m_titleLabel);
    stack->addArrangedSubview(m_subtitleLabel);
}

void EmptyTableMessageView::update(const std::optional<Config>& with)
{
    if (!with) {
        m_titleLabel->setTextColor(nullptr);
        m_titleLabel->setFont(nullptr);
        m_subtitleLabel->setTextColor(nullptr);
        m_subtitleLabel->setFont(nullptr);
        setAlpha(0.0);
        return;
    }
    if (with->titleText)
        m_titleLabel->setText(with->titleText);
    m_titleLabel->setTextColor(with->titleColor);
    m_titleLabel->setFont(with->titleFont);
    if (with->subtitleText)
        m_subtitleLabel->setText(with->subtitleText);
    m_subtitleLabel->setTextColor(with->subtitleColor);
    m_subtitleLabel->setFont(with->subtitleFont);
    setAlpha(1.0);
}

} // namespace Basalwork
