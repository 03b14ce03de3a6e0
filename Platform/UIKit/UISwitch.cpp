#include "Platform/UIKit/UISwitch.hpp"

namespace UIKit {

void UISwitch::endTracking(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>& event)
{
    UIControl::endTracking(touch, event);
    if (!isTouchInside())
        return;
    m_isOn = !m_isOn;
    sendActions(Event::valueChanged() | Event::primaryActionTriggered());
}

std::optional<Foundation::String> UISwitch::accessibilityValue() const
{
    if (auto value = UIControl::accessibilityValue())
        return value;
    return Foundation::String(m_isOn ? "1" : "0");
}

UIAccessibilityTraits UISwitch::accessibilityTraits() const
{
    return withControlState(explicitAccessibilityTraits().value_or(UIAccessibilityTraits::button()));
}

} // namespace UIKit
