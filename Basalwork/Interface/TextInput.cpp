#include "Basalwork/Interface/TextInput.hpp"

#include "Basalwork/Base/Global.hpp"
#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/UITextField.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UILayoutPriority.hpp"

#include <cmath>

namespace Basalwork {

TextInput::TextInput(Foundation::NSCoder& coder)
    : BorderShadowableControl(coder)
{
    Foundation::fatalError();
}

const std::shared_ptr<UIKit::UIColor>& TextInput::defaultBackgroundColor()
{
    static const auto color = Foundation::make<UIKit::UIColor>(0.0, 0.0, 0.0, 0.1);
    return color;
}

TextInput::TextInput()
    : BorderShadowableControl(UIKit::CGRect::zero())
    , m_textField(Foundation::make<UIKit::UITextField>())
    , m_heightPlaceholder(Foundation::make<UIKit::UITextField>())
    , m_fullTextGuide(Foundation::make<UIKit::UILayoutGuide>())
{
}

void TextInput::initialize()
{
    BorderShadowableControl::initialize();
    setup();
}

void TextInput::setup()
{
    setBackgroundColor(defaultBackgroundColor());
    setCornerRadius(defaultCornerRadius);

    std::weak_ptr<TextInput> weak = sharedSelf(this);
    addAction(
        [weak] {
            if (auto self = weak.lock())
                self->didSelectSelf();
        },
        UIKit::UIControl::Event::touchUpInside());

    registerForPreferredContentSizeCategoryChanges();

    m_textField->setContentCompressionResistancePriority(UIKit::UILayoutPriority {750},
                                                         UIKit::NSLayoutConstraint::Axis::horizontal);
    addSubviewWithEdgeContraints(*this, m_textField, LayoutInsets::zero(), [this](const EdgeConstraints& edges) {
        m_leadingConstraint = edges.leading();
        m_trailingConstraint = edges.trailing();
        m_topConstraint = edges.top();
        m_bottomConstraint = edges.bottom();
    });
    setInsets({8.0, 8.0, 6.0, 4.0});

    m_heightPlaceholder->setFont(m_textField->font());
    m_heightPlaceholder->setIsUserInteractionEnabled(false);
    m_heightPlaceholder->setAlpha(0.0);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_heightPlaceholder);
    m_heightPlaceholder->setContentCompressionResistancePriority(UIKit::UILayoutPriority {990},
                                                                 UIKit::NSLayoutConstraint::Axis::vertical);
    addSubviewWithEdgeContraints(*m_textField, m_heightPlaceholder);
    m_textField->sendSubviewToBack(m_heightPlaceholder);

    addLayoutGuide(m_fullTextGuide);
    m_fullTextLeadingConstraint = m_fullTextGuide->leadingAnchor().constraintEqualTo(m_textField->leadingAnchor());
    m_fullTextTopConstraint = m_textField->topAnchor().constraintEqualTo(m_fullTextGuide->topAnchor());
    m_fullTextWidthConstraint = m_fullTextGuide->widthAnchor().constraintEqualToConstant(0);
    m_fullTextHeightConstraint = m_fullTextGuide->heightAnchor().constraintEqualToConstant(0);
    UIKit::NSLayoutConstraint::activate(
        {m_fullTextLeadingConstraint, m_fullTextTopConstraint, m_fullTextWidthConstraint, m_fullTextHeightConstraint});
}

void TextInput::updateFullTextLayoutGuide()
{
    const auto rect = m_textField->firstRectOfDocument();
    // An empty text has no rectangle. The null one sits at infinity with a zero size: writing its size
    // alone would collapse the guide at its old place, so it leaves all four as they were.
    if (rect.isNull())
        return;
    const auto write = [](UIKit::NSLayoutConstraint& constraint, UIKit::CGFloat value) {
        if (!(std::isinf(value) && value > 0))
            constraint.setConstant(value);
    };
    write(*m_fullTextLeadingConstraint, rect.origin.x);
    write(*m_fullTextTopConstraint, rect.origin.y);
    write(*m_fullTextWidthConstraint, rect.size.width);
    write(*m_fullTextHeightConstraint, rect.size.height);
}

void TextInput::setContentHuggingPriority(UIKit::UILayoutPriority priority, UIKit::NSLayoutConstraint::Axis forAxis)
{
    BorderShadowableControl::setContentHuggingPriority(priority, forAxis);
    m_textField->setContentHuggingPriority(priority, forAxis);
}

void TextInput::setContentCompressionResistancePriority(UIKit::UILayoutPriority priority,
                                                       UIKit::NSLayoutConstraint::Axis forAxis)
{
    BorderShadowableControl::setContentCompressionResistancePriority(priority, forAxis);
    m_textField->setContentCompressionResistancePriority(priority, forAxis);
}

void TextInput::registerForPreferredContentSizeCategoryChanges()
{
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_textField);
}

void TextInput::setFont(std::shared_ptr<UIKit::UIFont> font)
{
    m_textField->setFont(font);
    m_heightPlaceholder->setFont(std::move(font));
    setNeedsLayout();
}

void TextInput::setText(const std::optional<Foundation::String>& text)
{
    Basalwork::setText(*m_textField, text);
    setNeedsLayout();
}

void TextInput::setAttributedText(std::shared_ptr<Foundation::NSAttributedString> text)
{
    m_textField->setAttributedText(std::move(text));
    setNeedsLayout();
}

void TextInput::setAdjustsFontSizeToFitWidth(bool adjusts)
{
    m_textField->setAdjustsFontSizeToFitWidth(adjusts);
    setNeedsLayout();
}

void TextInput::setMinimumFontSize(UIKit::CGFloat size)
{
    m_textField->setMinimumFontSize(size);
    setNeedsLayout();
}

void TextInput::setIsSecureTextEntry(bool secure)
{
    m_textField->setIsSecureTextEntry(secure);
    setNeedsLayout();
}

LayoutInsets TextInput::insets() const
{
    return {m_leadingConstraint->constant(), m_trailingConstraint->constant(), m_topConstraint->constant(),
            m_bottomConstraint->constant()};
}

void TextInput::setInsets(const LayoutInsets& insets)
{
    m_leadingConstraint->setConstant(insets.leading());
    m_trailingConstraint->setConstant(insets.trailing());
    m_topConstraint->setConstant(insets.top());
    m_bottomConstraint->setConstant(insets.bottom());
}

bool TextInput::becomeFirstResponder()
{
    // Newer systems move the caret when an editing field is focused again; leave it where the user put it.
    if (Global::platform().isiOS17OrMacOS14_4OrHigher() && m_textField->isFirstResponder() && !m_textField->text().isEmpty())
        return true;
    return m_textField->becomeFirstResponder();
}

void TextInput::layoutSubviews()
{
    BorderShadowableControl::layoutSubviews();
    updateFullTextLayoutGuide();
}

void TextInput::didSelectSelf()
{
    becomeFirstResponder();
}

} // namespace Basalwork
