#include "Basalwork/Interface/UITextView.hpp"

namespace Basalwork {

void setText(UIKit::UITextView& textView, const std::optional<Foundation::String>& text)
{
    // The view holds no nil: an empty text stands for it.
    const Foundation::String& newText = text ? *text : Foundation::String();
    if (textView.text() != newText)
        textView.setText(newText);
}

void removeContentInsets(UIKit::UITextView& textView)
{
    textView.setTextContainerInset(UIKit::UIEdgeInsets::zero());
    textView.textContainer()->setLineFragmentPadding(0);
}

} // namespace Basalwork
