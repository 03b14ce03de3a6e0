#include "Platform/UIKit/UITextView.hpp"

#include "Platform/Foundation/NotificationCenter.hpp"

namespace UIKit {

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
