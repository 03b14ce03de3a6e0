#include "Basalwork/Interface/UITextField.hpp"

#include "Basalwork/Base/String.hpp"

#include "Platform/Foundation/NSAttributedString.hpp"
#include "Platform/UIKit/UIColor.hpp"

namespace Basalwork {

void setText(UIKit::UITextField& field, const std::optional<Foundation::String>& text)
{
    // The field holds no nil: an empty text stands for it.
    const Foundation::String& newText = text ? *text : Foundation::String();
    if (field.text() != newText)
        field.setText(newText);
}

void setPlaceholderText(UIKit::UITextField& field, const std::optional<Foundation::String>& placeholderText,
                        const std::shared_ptr<UIKit::UIColor>& withColor)
{
    if (!hasAtLeastOneNonWhitespaceCharacter(placeholderText)) {
        field.setAttributedPlaceholder(nullptr);
        return;
    }
    Foundation::NSAttributedString::Attributes attributes;
    if (withColor)
        attributes.emplace(Foundation::NSAttributedString::Key::foregroundColor(), withColor);
    field.setAttributedPlaceholder(Foundation::make<Foundation::NSAttributedString>(*placeholderText, attributes));
}

} // namespace Basalwork
