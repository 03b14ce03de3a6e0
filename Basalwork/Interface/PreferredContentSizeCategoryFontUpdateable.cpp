#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"

#include "Basalwork/Interface/UIContentSizeCategory.hpp"

#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIFontDescriptor.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UITextView.hpp"

namespace Basalwork {

UpdateableFonts updateableFonts(const UIKit::UILabel& label)
{
    return {label.font()};
}

void setUpdateableFonts(UIKit::UILabel& label, const UpdateableFonts& fonts)
{
    label.setFont(fonts.empty() ? nullptr : fonts.front());
}

UpdateableFonts updateableFonts(const UIKit::UITextField& field)
{
    return {field.font()};
}

void setUpdateableFonts(UIKit::UITextField& field, const UpdateableFonts& fonts)
{
    field.setFont(fonts.empty() ? nullptr : fonts.front());
}

UpdateableFonts updateableFonts(const UIKit::UITextView& textView)
{
    return {textView.font()};
}

void setUpdateableFonts(UIKit::UITextView& textView, const UpdateableFonts& fonts)
{
    textView.setFont(fonts.empty() ? nullptr : fonts.front());
}

UpdateableFonts updateableFonts(const UIKit::UIButton& button)
{
    const auto label = button.titleLabel();
    return {label ? label->font() : nullptr};
}

void setUpdateableFonts(UIKit::UIButton& button, const UpdateableFonts& fonts)
{
    if (const auto label = button.titleLabel())
        label->setFont(fonts.empty() ? nullptr : fonts.front());
}

UpdateableFonts fontsForPreferredContentSizeCategory(const UpdateableFonts& fonts)
{
    UpdateableFonts result;
    result.reserve(fonts.size());
    for (const auto& font : fonts) {
        const auto& textStyle = font ? font->fontDescriptor()->fontAttributes().textStyle : std::nullopt;
        if (!textStyle) {
            result.push_back(nullptr);
            continue;
        }
        UIKit::UITraitCollection traits;
        traits.preferredContentSizeCategory =
            clampedToGlobalBounds(UIKit::UIApplication::shared()->preferredContentSizeCategory());
        result.push_back(font->withSize(UIKit::UIFont::preferredFont(*textStyle, traits)->pointSize()));
    }
    return result;
}

} // namespace Basalwork
