#include "Platform/UIKit/UITextView.hpp"

#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/UIKit/UIFont.hpp"
#include "Platform/UIKit/UILabel.hpp"

namespace UIKit {

UITextView::UITextView()
    : m_font(UILabel::defaultFont())
{
}

UITextView::UITextView(const CGRect& frame)
    : UIView(frame)
    , m_font(UILabel::defaultFont())
{
}

UITextView::UITextView(Foundation::NSCoder& coder)
    : UIView(coder)
    , m_font(UILabel::defaultFont())
{
}

void UITextView::setFont(std::shared_ptr<UIFont> font)
{
    m_font = font ? std::move(font) : UILabel::defaultFont();
}

std::shared_ptr<Foundation::NSAttributedString> UITextView::attributedText() const
{
    // Kept only while the plain text has not moved on since.
    if (m_attributedText && m_attributedText->string() == m_text)
        return m_attributedText;
    return Foundation::make<Foundation::NSAttributedString>(m_text);
}

void UITextView::setAttributedText(std::shared_ptr<Foundation::NSAttributedString> text)
{
    m_text = text ? text->string() : Foundation::String();
    m_attributedText = std::move(text);
}

const Foundation::Notification::Name& UITextView::textDidChangeNotification()
{
    static const Foundation::Notification::Name name("UITextViewTextDidChangeNotification");
    return name;
}

bool UITextView::becomeFirstResponder()
{
    if (!UIView::becomeFirstResponder())
        return false;
    m_isEditing = true;
    return true;
}

bool UITextView::resignFirstResponder()
{
    if (!UIView::resignFirstResponder())
        return false;
    m_isEditing = false;
    return true;
}

void UITextView::insertText(const Foundation::String& text)
{
    if (text.isEmpty())
        return;
    m_text.append(text);
    textDidChange();
}

void UITextView::deleteBackward()
{
    if (m_text.isEmpty())
        return;
    m_text = m_text.dropLast();
    textDidChange();
}

void UITextView::pressesBegan(const std::vector<std::shared_ptr<UIPress>>& presses, const std::shared_ptr<UIEvent>& event)
{
    if (!typePresses(presses, /*multiline*/ true))
        UIView::pressesBegan(presses, event);
}

void UITextView::textDidChange()
{
    Foundation::NotificationCenter::defaultCenter()->post(textDidChangeNotification(), sharedSelf(this));
}

} // namespace UIKit
