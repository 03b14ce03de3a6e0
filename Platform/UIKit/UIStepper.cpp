#include "Platform/UIKit/UIStepper.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/UIKit/UITouch.hpp"

#include <algorithm>
#include <cstdio>

namespace UIKit {

void UIStepper::setValue(double value)
{
    m_value = std::clamp(value, m_minimumValue, m_maximumValue);
}

void UIStepper::setMinimumValue(double value)
{
    Foundation::precondition(value <= m_maximumValue, "A stepper's minimum value cannot exceed its maximum");
    m_minimumValue = value;
    setValue(m_value);
}

void UIStepper::setMaximumValue(double value)
{
    Foundation::precondition(value >= m_minimumValue, "A stepper's maximum value cannot be below its minimum");
    m_maximumValue = value;
    setValue(m_value);
}

void UIStepper::setStepValue(double value)
{
    Foundation::precondition(value > 0, "A stepper's step value must be greater than 0");
    m_stepValue = value;
}

void UIStepper::endTracking(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>& event)
{
    UIControl::endTracking(touch, event);
    if (!isTouchInside())
        return;
    auto self = std::static_pointer_cast<UIView>(sharedSelf(this));
    const bool up = touch->location(self).x - bounds().origin.x >= bounds().size.width / 2;
    double next = m_value + (up ? m_stepValue : -m_stepValue);
    if (next > m_maximumValue)
        next = m_wraps ? m_minimumValue : m_maximumValue;
    else if (next < m_minimumValue)
        next = m_wraps ? m_maximumValue : m_minimumValue;
    if (next == m_value)
        return;
    m_value = next;
    sendActions(Event::valueChanged() | Event::primaryActionTriggered());
}

std::optional<Foundation::String> UIStepper::accessibilityValue() const
{
    if (auto value = UIControl::accessibilityValue())
        return value;
    char text[32];
    std::snprintf(text, sizeof text, "%g", m_value);
    return Foundation::String(text);
}

UIAccessibilityTraits UIStepper::accessibilityTraits() const
{
    return withControlState(explicitAccessibilityTraits().value_or(UIAccessibilityTraits::adjustable()));
}

} // namespace UIKit
