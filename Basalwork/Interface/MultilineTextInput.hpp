#pragma once

#include "Basalwork/Interface/BorderShadowableControl.hpp"
#include "Basalwork/Interface/LayoutInsets.hpp"
#include "Basalwork/Interface/UITextViewWithPlaceholder.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/UILabel.hpp"

#include <memory>
#include <optional>

namespace Basalwork {

// A framed text view with a placeholder: a tap anywhere on the frame edits the text, and the frame is
// never shorter than one line of the text's font.
class MultilineTextInput : public BorderShadowableControl {
public:
    static const std::shared_ptr<UIKit::UIColor>& defaultBackgroundColor();
    static constexpr UIKit::CGFloat defaultCornerRadius = 10.0;

    const std::shared_ptr<UITextViewWithPlaceholder>& textView() const { return m_textView; }

    std::shared_ptr<UIKit::UITextViewDelegate> delegate() const { return m_textView->delegate(); }
    void setDelegate(const std::shared_ptr<UIKit::UITextViewDelegate>& delegate) { m_textView->setDelegate(delegate); }
    std::shared_ptr<UIKit::UIFont> font() const { return m_textView->font(); }
    void setFont(std::shared_ptr<UIKit::UIFont> font);
    Foundation::String text() const { return m_textView->text(); }
    void setText(const std::optional<Foundation::String>& text);
    std::shared_ptr<UIKit::UIColor> textColor() const { return m_textView->textColor(); }
    void setTextColor(std::shared_ptr<UIKit::UIColor> color) { m_textView->setTextColor(std::move(color)); }
    std::optional<Foundation::String> placeholder() const { return m_textView->placeholderText(); }
    void setPlaceholder(std::optional<Foundation::String> text) { m_textView->setPlaceholderText(std::move(text)); }
    const std::optional<UIKit::UITextContentType>& textContentType() const { return m_textView->textContentType(); }
    void setTextContentType(std::optional<UIKit::UITextContentType> type) { m_textView->setTextContentType(std::move(type)); }
    UIKit::UIKeyboardType keyboardType() const { return m_textView->keyboardType(); }
    void setKeyboardType(UIKit::UIKeyboardType type) { m_textView->setKeyboardType(type); }
    UIKit::UITextAutocapitalizationType autocapitalizationType() const { return m_textView->autocapitalizationType(); }
    void setAutocapitalizationType(UIKit::UITextAutocapitalizationType type) { m_textView->setAutocapitalizationType(type); }
    UIKit::UITextAutocorrectionType autocorrectionType() const { return m_textView->autocorrectionType(); }
    void setAutocorrectionType(UIKit::UITextAutocorrectionType type) { m_textView->setAutocorrectionType(type); }
    UIKit::UITextSpellCheckingType spellCheckingType() const { return m_textView->spellCheckingType(); }
    void setSpellCheckingType(UIKit::UITextSpellCheckingType type) { m_textView->setSpellCheckingType(type); }
    bool isScrollEnabled() const { return m_textView->isScrollEnabled(); }
    void setIsScrollEnabled(bool enabled) { m_textView->setIsScrollEnabled(enabled); }
    bool isEditable() const { return m_textView->isEditable(); }
    void setIsEditable(bool editable) { m_textView->setIsEditable(editable); }
    bool isSelectable() const { return m_textView->isSelectable(); }
    void setIsSelectable(bool selectable) { m_textView->setIsSelectable(selectable); }
    UIKit::UIDataDetectorTypes dataDetectorTypes() const { return m_textView->dataDetectorTypes(); }
    void setDataDetectorTypes(UIKit::UIDataDetectorTypes types) { m_textView->setDataDetectorTypes(types); }
    // The text view's distances from the frame's edges, each counted inwards.
    LayoutInsets insets() const;
    void setInsets(const LayoutInsets& insets);

    bool isFirstResponder() const override { return m_textView->isFirstResponder(); }
    std::shared_ptr<UIKit::UIColor> tintColor() const override { return m_textView->tintColor(); }
    void setTintColor(std::shared_ptr<UIKit::UIColor> color) override { m_textView->setTintColor(std::move(color)); }
    // The frame takes the priorities and so does its text view.
    void setContentHuggingPriority(UIKit::UILayoutPriority priority, UIKit::NSLayoutConstraint::Axis forAxis) override;
    void setContentCompressionResistancePriority(UIKit::UILayoutPriority priority,
                                                 UIKit::NSLayoutConstraint::Axis forAxis) override;
    std::shared_ptr<UIKit::UIView> forFirstBaselineLayout() override { return m_heightPlaceholder; }
    std::shared_ptr<UIKit::UIView> forLastBaselineLayout() override { return m_textView; }
    bool canBecomeFirstResponder() const override { return m_textView->canBecomeFirstResponder(); }
    bool canResignFirstResponder() const override { return m_textView->canResignFirstResponder(); }
    bool becomeFirstResponder() override { return m_textView->becomeFirstResponder(); }
    bool resignFirstResponder() override { return m_textView->resignFirstResponder(); }

protected:
    friend Foundation::Construct;
    MultilineTextInput();
    // Built in code only: stops the program.
    explicit MultilineTextInput(Foundation::NSCoder& coder);
    void initialize() override;

    virtual void setup();
    virtual void registerForPreferredContentSizeCategoryChanges();

private:
    std::shared_ptr<UITextViewWithPlaceholder> m_textView;
    std::shared_ptr<UIKit::NSLayoutConstraint> m_leadingConstraint;
    std::shared_ptr<UIKit::NSLayoutConstraint> m_trailingConstraint;
    std::shared_ptr<UIKit::NSLayoutConstraint> m_topConstraint;
    std::shared_ptr<UIKit::NSLayoutConstraint> m_bottomConstraint;
    std::shared_ptr<UIKit::UILabel> m_heightPlaceholder;
};

} // namespace Basalwork
