#pragma once

#include "Platform/Foundation/NSAttributedString.hpp"
#include "Platform/Foundation/Notification.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/NSTextAlignment.hpp"
#include "Platform/UIKit/NSTextContainer.hpp"
#include "Platform/UIKit/UIDataDetectorTypes.hpp"
#include "Platform/UIKit/UIEdgeInsets.hpp"
#include "Platform/UIKit/UIKeyInput.hpp"
#include "Platform/UIKit/UITextInputTraits.hpp"
#include "Platform/UIKit/UITextViewDelegate.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <memory>

namespace UIKit {

class UIColor;
class UIFont;

// Editable text of any number of lines. It edits while it is first responder; typing (keys, `insertText`,
// `deleteBackward`) posts `textDidChangeNotification` with the view as object, setting the text does not.
class UITextView : public UIView, public UIKeyInput, public UITextInputTraits {
public:
    static const Foundation::Notification::Name& textDidChangeNotification();

    const Foundation::String& text() const { return m_text; }
    virtual void setText(Foundation::String text);
    bool isEditing() const { return m_isEditing; }

    // Appearance. Setting no font gives the default back, as a label does.
    std::shared_ptr<UIFont> font() const { return m_font; }
    virtual void setFont(std::shared_ptr<UIFont> font);
    std::shared_ptr<UIColor> textColor() const { return m_textColor; }
    void setTextColor(std::shared_ptr<UIColor> color) { m_textColor = std::move(color); }
    NSTextAlignment textAlignment() const { return m_textAlignment; }
    virtual void setTextAlignment(NSTextAlignment alignment) { m_textAlignment = alignment; }
    // The text with its attributes; no attributed text clears the text.
    std::shared_ptr<Foundation::NSAttributedString> attributedText() const;
    virtual void setAttributedText(std::shared_ptr<Foundation::NSAttributedString> text);
    // Room between the view's edges and its text container.
    UIEdgeInsets textContainerInset() const { return m_textContainerInset; }
    virtual void setTextContainerInset(const UIEdgeInsets& inset);
    const std::shared_ptr<NSTextContainer>& textContainer() const { return m_textContainer; }

    bool isScrollEnabled() const { return m_isScrollEnabled; }
    void setIsScrollEnabled(bool enabled);
    // Without scrolling, the view is as tall as its text wrapped at its width, on the character grid.
    CGSize intrinsicContentSize() const override;
    std::optional<CGSize> intrinsicContentSizeAtWidth(CGFloat width) const override;
    bool isEditable() const { return m_isEditable; }
    void setIsEditable(bool editable) { m_isEditable = editable; }
    bool isSelectable() const { return m_isSelectable; }
    void setIsSelectable(bool selectable) { m_isSelectable = selectable; }
    UIDataDetectorTypes dataDetectorTypes() const { return m_dataDetectorTypes; }
    void setDataDetectorTypes(UIDataDetectorTypes types) { m_dataDetectorTypes = types; }
    std::shared_ptr<UITextViewDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<UITextViewDelegate>& delegate) { m_delegate = delegate; }

    bool canBecomeFirstResponder() const override { return true; }
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;

    bool hasText() const override { return !m_text.isEmpty(); }
    void insertText(const Foundation::String& text) override;
    void deleteBackward() override;

    void pressesBegan(const std::vector<std::shared_ptr<UIPress>>& presses,
                      const std::shared_ptr<UIEvent>& event) override;

protected:
    friend Foundation::Construct;
    UITextView();
    explicit UITextView(const CGRect& frame);
    explicit UITextView(Foundation::NSCoder& coder);

private:
    void textDidChange();
    // Typing: the delegate may refuse the change, and hears of one it let through.
    void userEdit(std::int64_t from, const Foundation::String& replacement);

    Foundation::String m_text;
    bool m_isEditing = false;
    std::shared_ptr<UIFont> m_font;
    std::shared_ptr<UIColor> m_textColor;
    NSTextAlignment m_textAlignment {};
    std::shared_ptr<Foundation::NSAttributedString> m_attributedText;
    // The platform's default inset: 8 points above and below.
    UIEdgeInsets m_textContainerInset {8, 0, 8, 0};
    std::shared_ptr<NSTextContainer> m_textContainer = Foundation::make<NSTextContainer>();
    bool m_isScrollEnabled = true;
    bool m_isEditable = true;
    bool m_isSelectable = true;
    UIDataDetectorTypes m_dataDetectorTypes;
    std::weak_ptr<UITextViewDelegate> m_delegate;
};

} // namespace UIKit
