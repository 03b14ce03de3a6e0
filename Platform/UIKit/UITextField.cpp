#include "Platform/UIKit/UITextField.hpp"

#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/UIKit/UIFont.hpp"
#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UILabel.hpp"

#include <limits>

namespace UIKit {

UITextField::UITextField()
    : m_font(UILabel::defaultFont())
{
}

UITextField::UITextField(const CGRect& frame)
    : UIControl(frame)
    , m_font(UILabel::defaultFont())
{
}

void UITextField::setFont(std::shared_ptr<UIFont> font)
{
    m_font = font ? std::move(font) : UILabel::defaultFont();
    invalidateIntrinsicContentSize();
}

std::shared_ptr<Foundation::NSAttributedString> UITextField::attributedText() const
{
    // Kept only while the plain text has not moved on since.
    if (m_attributedText && m_attributedText->string() == m_text)
        return m_attributedText;
    return Foundation::make<Foundation::NSAttributedString>(m_text);
}

void UITextField::setAttributedText(std::shared_ptr<Foundation::NSAttributedString> text)
{
    m_text = text ? text->string() : Foundation::String();
    m_attributedText = std::move(text);
    invalidateIntrinsicContentSize();
}

std::optional<Foundation::String> UITextField::placeholder() const
{
    if (!m_attributedPlaceholder)
        return std::nullopt;
    return m_attributedPlaceholder->string();
}

void UITextField::setPlaceholder(std::optional<Foundation::String> placeholder)
{
    m_attributedPlaceholder =
        placeholder ? Foundation::make<Foundation::NSAttributedString>(std::move(*placeholder)) : nullptr;
    invalidateIntrinsicContentSize();
}

CGRect UITextField::firstRectOfDocument() const
{
    if (m_text.isEmpty())
        return CGRect::null();
    return {{0, 0}, {static_cast<CGFloat>(TextGrid::columns(m_text)) * TextGrid::columnWidth, TextGrid::lineHeight}};
}

CGSize UITextField::intrinsicContentSize() const
{
    const auto& shown = m_text.isEmpty() && m_attributedPlaceholder ? m_attributedPlaceholder->string() : m_text;
    return {static_cast<CGFloat>(TextGrid::columns(shown)) * TextGrid::columnWidth, TextGrid::lineHeight};
}

const Foundation::Notification::Name& UITextField::textDidChangeNotification()
{
    static const Foundation::Notification::Name name("UITextFieldTextDidChangeNotification");
    return name;
}

bool UITextField::becomeFirstResponder()
{
    if (!UIControl::becomeFirstResponder())
        return false;
    if (!m_isEditing) {
        m_isEditing = true;
        sendActions(Event::editingDidBegin());
    }
    return true;
}

bool UITextField::resignFirstResponder()
{
    if (!UIControl::resignFirstResponder())
        return false;
    if (m_isEditing) {
        m_isEditing = false;
        sendActions(Event::editingDidEnd());
    }
    return true;
}

void UITextField::insertText(const Foundation::String& text)
{
    if (text.isEmpty())
        return;
    m_text.append(text);
    textDidChange();
}

void UITextField::deleteBackward()
{
    if (m_text.isEmpty())
        return;
    m_text = m_text.dropLast();
    textDidChange();
}

void UITextField::pressesBegan(const std::vector<std::shared_ptr<UIPress>>& presses, const std::shared_ptr<UIEvent>& event)
{
    if (!typePresses(presses, /*multiline*/ false))
        UIControl::pressesBegan(presses, event);
}

void UITextField::textDidChange()
{
    invalidateIntrinsicContentSize();
    sendActions(Event::editingChanged());
    Foundation::NotificationCenter::defaultCenter()->post(textDidChangeNotification(), sharedSelf(this));
}

} // namespace UIKit
