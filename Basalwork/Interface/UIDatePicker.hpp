#pragma once

#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIDatePicker.hpp"

#include <memory>

namespace Basalwork {

// Wheels that read on a dark background. Systems from 16.0 on draw the wheels' text from the
// appearance, so dark appearance is enough; older ones are kept light and given white text by key.
void setupAsWheelsWithLightText(UIKit::UIDatePicker& picker);
// The text colour set by key, when it is a colour.
std::shared_ptr<UIKit::UIColor> textColor(const UIKit::UIDatePicker& picker);
// Also turns off the highlight of today's date, which would not follow the colour.
void setTextColor(UIKit::UIDatePicker& picker, const std::shared_ptr<UIKit::UIColor>& color);

} // namespace Basalwork
