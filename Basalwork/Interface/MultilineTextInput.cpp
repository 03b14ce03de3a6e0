#include "Basalwork/Interface/MultilineTextInput.hpp"

#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/TextInput.hpp"
#include "Basalwork/Interface/UITextView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UILayoutPriority.hpp"

namespace Basalwork {

MultilineTextInput::MultilineTextInput(Foundation::NSCoder& coder)
    : BorderShadowableControl(coder)
{
    Foundation::fatalError();
}

const std::shared_ptr<UIKit::UIColor>& MultilineTextInput::defaultBackgroundColor()
{
    return TextInput::defaultBackgroundColor();
}

MultilineTextInput::MultilineTextInput()
    : BorderShadowableControl(UIKit::CGRect::zero())
    , m_textView(Foundation::make<UITextViewWithPlaceholder>())
    , m_heightPlaceholder(Foundation::make<UIKit::UILabel>())
{
}

void MultilineTextInput::initialize()
{
    BorderShadowableControl::initialize();
    setup();
}

void MultilineTextInput::setup()
{
    setBackgroundColor(defaultBackgroundColor());
    setCornerRadius(defaultCornerRadius);
    std::weak_ptr<MultilineTextInput> weak = sharedSelf(this);
    addAction(
        [weak] {
            if (auto self = weak.lock())
                self->m_textView->becomeFirstResponder();
        },
        UIKit::UIControl::Event::touchUpInside());

    const Foundation::String typeName = className();
    m_textView->setAccessibilityIdentifier(typeName + ".textView");
    m_textView->setBackgroundColor(UIKit::UIColor::clear());
    removeContentInsets(*m_textView);
    registerForPreferredContentSizeCategoryChanges();
    m_textView->setContentCompressionResistancePriority(UIKit::UILayoutPriority {750},
                                                        UIKit::NSLayoutConstraint::Axis::horizontal);
    addSubviewWithEdgeContraints(*this, m_textView, LayoutInsets::zero(), [this](const EdgeConstraints& edges) {
        m_leadingConstraint = edges.leading();
        m_trailingConstraint = edges.trailing();
        m_topConstraint = edges.top();
        m_bottomConstraint = edges.bottom();
    });
    setInsets({8.0, 8.0, 6.0, 4.0});

    m_heightPlaceholder->setAccessibilityIdentifier(typeName + ".heightPlaceholder");
    m_heightPlaceholder->setText(Foundation::String(" "));
    m_heightPlaceholder->setFont(m_textView->font());
    m_heightPlaceholder->setIsUserInteractionEnabled(false);
    m_heightPlaceholder->setAlpha(0.0);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_heightPlaceholder);
    m_heightPlaceholder->setContentCompressionResistancePriority(UIKit::UILayoutPriority {999},
                                                                 UIKit::NSLayoutConstraint::Axis::vertical);
    m_heightPlaceholder->setTranslatesAutoresizingMaskIntoConstraints(false);
    addSubview(m_heightPlaceholder);
    // The headless text view does not scroll, so its frame stands for its frame layout guide.
    UIKit::NSLayoutConstraint::activate({
        m_heightPlaceholder->topAnchor().constraintEqualTo(m_textView->topAnchor()),
        m_heightPlaceholder->leadingAnchor().constraintEqualTo(m_textView->leadingAnchor()),
        m_textView->heightAnchor().constraintGreaterThanOrEqualToMultiplier(m_heightPlaceholder->heightAnchor(), 1.0, 2.0),
    });
}

void MultilineTextInput::setContentHuggingPriority(UIKit::UILayoutPriority priority, UIKit::NSLayoutConstraint::Axis forAxis)
{
    BorderShadowableControl::setContentHuggingPriority(priority, forAxis);
    m_textView->setContentHuggingPriority(priority, forAxis);
}

void MultilineTextInput::setContentCompressionResistancePriority(UIKit::UILayoutPriority priority,
                                                       UIKit::NSLayoutConstraint::Axis forAxis)
{
    BorderShadowableControl::setContentCompressionResistancePriority(priority, forAxis);
    m_textView->setContentCompressionResistancePriority(priority, forAxis);
}

void MultilineTextInput::registerForPreferredContentSizeCategoryChanges()
{
    Basalwork::registerForPreferredContentSizeCategoryChanges(
        std::static_pointer_cast<UIKit::UITextView>(m_textView));
}

void MultilineTextInput::setFont(std::shared_ptr<UIKit::UIFont> font)
{
    m_textView->setFont(font);
    m_heightPlaceholder->setFont(std::move(font));
}

void MultilineTextInput::setText(const std::optional<Foundation::String>& text)
{
    Basalwork::setText(*m_textView, text);
}

LayoutInsets MultilineTextInput::insets() const
{
    return {m_leadingConstraint->constant(), m_trailingConstraint->constant(), m_topConstraint->constant(),
            m_bottomConstraint->constant()};
}

void MultilineTextInput::setInsets(const LayoutInsets& insets)
{
    m_leadingConstraint->setConstant(insets.leading());
    m_trailingConstraint->setConstant(insets.trailing());
    m_topConstraint->setConstant(insets.top());
    m_bottomConstraint->setConstant(insets.bottom());
}

} // namespace Basalwork
