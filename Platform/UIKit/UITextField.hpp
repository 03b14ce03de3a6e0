#pragma once

#include "Platform/Foundation/NSAttributedString.hpp"
#include "Platform/Foundation/Notification.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/CGRect.hpp"
#include "Platform/UIKit/NSTextAlignment.hpp"
#include "Platform/UIKit/UIControl.hpp"
#include "Platform/UIKit/UIKeyInput.hpp"
#include "Platform/UIKit/UITextFieldDelegate.hpp"
#include "Platform/UIKit/UITextInputTraits.hpp"

#include <memory>
#include <optional>

namespace UIKit {

class UIColor;
class UIFont;

// Editable text, on a single line unless its owner lets Return add one. It edits while it is first
// responder, sending `editingDidBegin` and `editingDidEnd` as editing starts and stops, when its delegate
// lets it; typing (keys, `insertText`, `deleteBackward`) that the delegate lets through sends `editingChanged` and posts
// `textDidChangeNotification` with the field as object, setting the text does not. Return asks the
// delegate and then sends the primary action and `editingDidEndOnExit` (ending editing when something
// listens for that); Tab and Shift-Tab move the focus to the next or previous field of the screen the field is
// on (its controller's view, else the window), in reading order; Escape goes on up the responder chain.
class UITextField : public UIControl, public UIKeyInput, public UITextInputTraits {
public:
    enum class ViewMode : std::int64_t;

    static const Foundation::Notification::Name& textDidChangeNotification();

    const Foundation::String& text() const { return m_text; }
    void setText(Foundation::String text)
    {
        m_text = std::move(text);
        invalidateIntrinsicContentSize();
    }
    bool isEditing() const { return m_isEditing; }
    // When the button that clears the text shows.
    ViewMode clearButtonMode() const { return m_clearButtonMode; }
    void setClearButtonMode(ViewMode mode) { m_clearButtonMode = mode; }

    // Appearance. Setting no font gives the default back, as a label does.
    std::shared_ptr<UIFont> font() const { return m_font; }
    void setFont(std::shared_ptr<UIFont> font);
    std::shared_ptr<UIColor> textColor() const { return m_textColor; }
    void setTextColor(std::shared_ptr<UIColor> color) { m_textColor = std::move(color); }
    NSTextAlignment textAlignment() const { return m_textAlignment; }
    void setTextAlignment(NSTextAlignment alignment) { m_textAlignment = alignment; }
    // The text with its attributes; no attributed text clears the text.
    std::shared_ptr<Foundation::NSAttributedString> attributedText() const;
    void setAttributedText(std::shared_ptr<Foundation::NSAttributedString> text);
    // The placeholder; the plain one is the attributed one's string.
    std::optional<Foundation::String> placeholder() const;
    void setPlaceholder(std::optional<Foundation::String> placeholder);
    const std::shared_ptr<Foundation::NSAttributedString>& attributedPlaceholder() const { return m_attributedPlaceholder; }
    void setAttributedPlaceholder(std::shared_ptr<Foundation::NSAttributedString> placeholder)
    {
        m_attributedPlaceholder = std::move(placeholder);
        invalidateIntrinsicContentSize();
    }
    bool adjustsFontSizeToFitWidth() const { return m_adjustsFontSizeToFitWidth; }
    void setAdjustsFontSizeToFitWidth(bool adjusts) { m_adjustsFontSizeToFitWidth = adjusts; }
    CGFloat minimumFontSize() const { return m_minimumFontSize; }
    void setMinimumFontSize(CGFloat size) { m_minimumFontSize = size; }
    bool isSecureTextEntry() const { return m_isSecureTextEntry; }
    void setIsSecureTextEntry(bool secure) { m_isSecureTextEntry = secure; }
    std::shared_ptr<UITextFieldDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<UITextFieldDelegate>& delegate) { m_delegate = delegate; }

    // firstRect(for:) of the range from the beginning to the end of the document, in the field's
    // coordinates, on the character grid; an empty text has no rectangle (the null rectangle).
    CGRect firstRectOfDocument() const;
    // A row on the character grid a line, as wide as the widest line, or the placeholder while there is no text.
    CGSize intrinsicContentSize() const override;

    bool canBecomeFirstResponder() const override { return isEnabled(); }
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;

    bool hasText() const override { return !m_text.isEmpty(); }
    void insertText(const Foundation::String& text) override;
    void deleteBackward() override;

    void pressesBegan(const std::vector<std::shared_ptr<UIPress>>& presses,
                      const std::shared_ptr<UIEvent>& event) override;

    // The text, or a bullet per character while entry is secure; the placeholder is the label.
    std::optional<Foundation::String> accessibilityLabel() const override;
    std::optional<Foundation::String> accessibilityValue() const override;

    // Empties the text as the clear button does, when the delegate lets it.
    void clear();

protected:
    friend Foundation::Construct;
    UITextField();
    // A tap on the field gives it the focus.
    void endTracking(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>& event) override;
    explicit UITextField(const CGRect& frame);

private:
    void textDidChange();
    // Replaces the characters from `from` (a character offset) to the end with `replacement`, when the
    // delegate lets it.
    void edit(std::int64_t from, const Foundation::String& replacement);
    void pressReturn();
    // The next field in reading order, forwards or backwards, wrapping around; none when this is the only one.
    std::shared_ptr<UITextField> nextKeyView(bool forward) const;

    Foundation::String m_text;
    bool m_isEditing = false;
    ViewMode m_clearButtonMode {};
    std::shared_ptr<UIFont> m_font;
    std::shared_ptr<UIColor> m_textColor;
    NSTextAlignment m_textAlignment {};
    std::shared_ptr<Foundation::NSAttributedString> m_attributedText;
    std::shared_ptr<Foundation::NSAttributedString> m_attributedPlaceholder;
    bool m_adjustsFontSizeToFitWidth = false;
    CGFloat m_minimumFontSize = 0;
    bool m_isSecureTextEntry = false;
    std::weak_ptr<UITextFieldDelegate> m_delegate;
};

} // namespace UIKit

#include "Platform/UIKit/UITextField.ViewMode.hpp"
