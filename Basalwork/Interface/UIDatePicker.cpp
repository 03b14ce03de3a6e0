#include "Basalwork/Interface/UIDatePicker.hpp"

#include "Basalwork/Interface/UIPickerView.hpp"

#include "Platform/Foundation/ProcessInfo.hpp"

namespace Basalwork {

void setupAsWheelsWithLightText(UIKit::UIDatePicker& picker)
{
    picker.setPreferredDatePickerStyle(UIKit::UIDatePickerStyle::wheels);
    if (Foundation::ProcessInfo::processInfo()->isOperatingSystemAtLeast({16, 0, 0})) {
        picker.setOverrideUserInterfaceStyle(UIKit::UIUserInterfaceStyle::dark);
        return;
    }
    picker.setOverrideUserInterfaceStyle(UIKit::UIUserInterfaceStyle::light);
    picker.setValue(UIKit::UIColor::white(), "textColor");
    picker.setValue(false, "highlightsToday");
}

std::shared_ptr<UIKit::UIColor> textColor(const UIKit::UIDatePicker& picker)
{
    return detail::colorValue(picker, "textColor");
}

void setTextColor(UIKit::UIDatePicker& picker, const std::shared_ptr<UIKit::UIColor>& color)
{
    detail::setColorValue(picker, "textColor", color);
    picker.setValue(false, "highlightsToday");
}

} // namespace Basalwork
