#pragma once

#include "Basalwork/Interface/BorderShadowableControl.hpp"
#include "Basalwork/Interface/LayoutInsets.hpp"

#include "Platform/Foundation/NSAttributedString.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/NSTextAlignment.hpp"
#include "Platform/UIKit/UILayoutGuide.hpp"
#include "Platform/UIKit/UITextField.hpp"

#include <memory>
#include <optional>

namespace UIKit {
class UIColor;
class UIFont;
}

namespace Basalwork {

// A framed single-line text field: a tap anywhere on the frame edits the field, and the frame is never
// shorter than one line of the field's font.
class TextInput : public BorderShadowableControl {
public:
    static const std::shared_ptr<UIKit::UIColor>& defaultBackgroundColor();
    static constexpr UIKit::CGFloat defaultCornerRadius = 10.0;

    const std::shared_ptr<UIKit::UITextField>& textField() const { return m_textField; }
    // Follows the rectangle of the field's text after every layout pass.
    const std::shared_ptr<UIKit::UILayoutGuide>& fullTextGuide() const { return m_fullTextGuide; }

    std::shared_ptr<UIKit::UITextFieldDelegate> delegate() const { return m_textField->delegate(); }
    void setDelegate(const std::shared_ptr<UIKit::UITextFieldDelegate>& delegate) { m_textField->setDelegate(delegate); }
    std::shared_ptr<UIKit::UIFont> font() const { return m_textField->font(); }
    void setFont(std::shared_ptr<UIKit::UIFont> font);
    Foundation::String text() const { return m_textField->text(); }
    void setText(const std::optional<Foundation::String>& text);
    std::shared_ptr<UIKit::UIColor> textColor() const { return m_textField->textColor(); }
    void setTextColor(std::shared_ptr<UIKit::UIColor> color) { m_textField->setTextColor(std::move(color)); }
    std::shared_ptr<Foundation::NSAttributedString> attributedText() const { return m_textField->attributedText(); }
    void setAttributedText(std::shared_ptr<Foundation::NSAttributedString> text);
    bool adjustsFontSizeToFitWidth() const { return m_textField->adjustsFontSizeToFitWidth(); }
    void setAdjustsFontSizeToFitWidth(bool adjusts);
    UIKit::CGFloat minimumFontSize() const { return m_textField->minimumFontSize(); }
    void setMinimumFontSize(UIKit::CGFloat size);
    std::optional<Foundation::String> placeholder() const { return m_textField->placeholder(); }
    void setPlaceholder(std::optional<Foundation::String> placeholder) { m_textField->setPlaceholder(std::move(placeholder)); }
    UIKit::NSTextAlignment textAlignment() const { return m_textField->textAlignment(); }
    void setTextAlignment(UIKit::NSTextAlignment alignment) { m_textField->setTextAlignment(alignment); }
    const std::optional<UIKit::UITextContentType>& textContentType() const { return m_textField->textContentType(); }
    void setTextContentType(std::optional<UIKit::UITextContentType> type) { m_textField->setTextContentType(std::move(type)); }
    UIKit::UIKeyboardType keyboardType() const { return m_textField->keyboardType(); }
    void setKeyboardType(UIKit::UIKeyboardType type) { m_textField->setKeyboardType(type); }
    UIKit::UITextAutocapitalizationType autocapitalizationType() const { return m_textField->autocapitalizationType(); }
    void setAutocapitalizationType(UIKit::UITextAutocapitalizationType type) { m_textField->setAutocapitalizationType(type); }
    UIKit::UITextAutocorrectionType autocorrectionType() const { return m_textField->autocorrectionType(); }
    void setAutocorrectionType(UIKit::UITextAutocorrectionType type) { m_textField->setAutocorrectionType(type); }
    UIKit::UITextSpellCheckingType spellCheckingType() const { return m_textField->spellCheckingType(); }
    void setSpellCheckingType(UIKit::UITextSpellCheckingType type) { m_textField->setSpellCheckingType(type); }
    UIKit::UIReturnKeyType returnKeyType() const { return m_textField->returnKeyType(); }
    void setReturnKeyType(UIKit::UIReturnKeyType type) { m_textField->setReturnKeyType(type); }
    bool isSecureTextEntry() const { return m_textField->isSecureTextEntry(); }
    void setIsSecureTextEntry(bool secure);
    UIKit::UITextField::ViewMode clearButtonMode() const { return m_textField->clearButtonMode(); }
    void setClearButtonMode(UIKit::UITextField::ViewMode mode) { m_textField->setClearButtonMode(mode); }
    // The field's distances from the frame's edges, each counted inwards.
    LayoutInsets insets() const;
    void setInsets(const LayoutInsets& insets);

    // The frame answers for its field.
    bool isFirstResponder() const override { return m_textField->isFirstResponder(); }
    std::shared_ptr<UIKit::UIColor> tintColor() const override { return m_textField->tintColor(); }
    void setTintColor(std::shared_ptr<UIKit::UIColor> color) override { m_textField->setTintColor(std::move(color)); }
    // The frame takes the priorities and so does its field.
    void setContentHuggingPriority(UIKit::UILayoutPriority priority, UIKit::NSLayoutConstraint::Axis forAxis) override;
    void setContentCompressionResistancePriority(UIKit::UILayoutPriority priority,
                                                 UIKit::NSLayoutConstraint::Axis forAxis) override;
    std::shared_ptr<UIKit::UIView> forFirstBaselineLayout() override { return m_textField; }
    std::shared_ptr<UIKit::UIView> forLastBaselineLayout() override { return m_textField; }
    bool canBecomeFirstResponder() const override { return m_textField->canBecomeFirstResponder(); }
    bool canResignFirstResponder() const override { return m_textField->canResignFirstResponder(); }
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override { return m_textField->resignFirstResponder(); }

    void layoutSubviews() override;

protected:
    friend Foundation::Construct;
    TextInput();
    // Built in code only: stops the program.
    explicit TextInput(Foundation::NSCoder& coder);
    void initialize() override;

    virtual void setup();
    virtual void updateFullTextLayoutGuide();
    virtual void registerForPreferredContentSizeCategoryChanges();

private:
    void didSelectSelf();

    std::shared_ptr<UIKit::UITextField> m_textField;
    std::shared_ptr<UIKit::UITextField> m_heightPlaceholder;
    std::shared_ptr<UIKit::NSLayoutConstraint> m_leadingConstraint;
    std::shared_ptr<UIKit::NSLayoutConstraint> m_trailingConstraint;
    std::shared_ptr<UIKit::NSLayoutConstraint> m_topConstraint;
    std::shared_ptr<UIKit::NSLayoutConstraint> m_bottomConstraint;
    std::shared_ptr<UIKit::UILayoutGuide> m_fullTextGuide;
    std::shared_ptr<UIKit::NSLayoutConstraint> m_fullTextLeadingConstraint;
    std::shared_ptr<UIKit::NSLayoutConstraint> m_fullTextTopConstraint;
    std::shared_ptr<UIKit::NSLayoutConstraint> m_fullTextWidthConstraint;
    std::shared_ptr<UIKit::NSLayoutConstraint> m_fullTextHeightConstraint;
};

} // namespace Basalwork
