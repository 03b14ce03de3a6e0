#include "Basalwork/Interface/UIPickerView.hpp"

#include <any>

namespace Basalwork {

void setupWithLightText(UIKit::UIPickerView& picker)
{
    picker.setOverrideUserInterfaceStyle(UIKit::UIUserInterfaceStyle::light);
    picker.setValue(UIKit::UIColor::white(), "textColor");
}

std::shared_ptr<UIKit::UIColor> textColor(const UIKit::UIPickerView& picker)
{
    return detail::colorValue(picker, "textColor");
}

void setTextColor(UIKit::UIPickerView& picker, const std::shared_ptr<UIKit::UIColor>& color)
{
    detail::setColorValue(picker, "textColor", color);
}

namespace detail {

std::shared_ptr<UIKit::UIColor> colorValue(const UIKit::KeyValueCoding& object, const Foundation::String& key)
{
    auto value = object.value(key);
    if (const auto* color = std::any_cast<std::shared_ptr<UIKit::UIColor>>(&value))
        return *color;
    return nullptr;
}

void setColorValue(UIKit::KeyValueCoding& object, const Foundation::String& key,
                   const std::shared_ptr<UIKit::UIColor>& color)
{
    object.setValue(color ? std::any(color) : std::any(), key);
}

} // namespace detail

} // namespace Basalwork
