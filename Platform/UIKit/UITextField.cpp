#include "Platform/UIKit/UITextField.hpp"

#include "Platform/Foundation/NotificationCenter.hpp"

namespace UIKit {

const Foundation::Notification::Name& UITextField::textDidChangeNotification()
{
    static const Foundation::Notification::Name name("UITextFieldTextDidChangeNotification");
    return name;
}

bool UITextField::becomeFirstResponder()
{
    if (!UIControl::becomeFirstResponder())
        return false;
    m_isEditing = true;
    return true;
}

bool UITextField::resignFirstResponder()
{
    if (!UIControl::resignFirstResponder())
        return false;
    m_isEditing = false;
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
    Foundation::NotificationCenter::defaultCenter()->post(textDidChangeNotification(), sharedSelf(this));
}

} // namespace UIKit
