#include "Platform/UIKit/UISlider.hpp"

#include "Platform/UIKit/UITouch.hpp"

#include <algorithm>
#include <cmath>

namespace UIKit {

void UISlider::setValue(float value, bool)
{
    m_value = std::clamp(value, m_minimumValue, m_maximumValue);
}

void UISlider::setMinimumValue(float value)
{
    m_minimumValue = value;
    m_maximumValue = std::max(m_maximumValue, value);
    setValue(m_value);
}

void UISlider::setMaximumValue(float value)
{
    m_maximumValue = value;
    m_minimumValue = std::min(m_minimumValue, value);
    setValue(m_value);
}

bool UISlider::follow(const UITouch& touch)
{
    const CGFloat width = bounds().size.width;
    if (width <= 0)
        return false;
    auto self = std::static_pointer_cast<UIView>(std::const_pointer_cast<Foundation::NSObject>(shared_from_this()));
    const double fraction = std::clamp((touch.location(self).x - bounds().origin.x) / width, 0.0, 1.0);
    const auto value = static_cast<float>(m_minimumValue + fraction * (m_maximumValue - m_minimumValue));
    if (value == m_value)
        return false;
    m_value = value;
    return true;
}

bool UISlider::beginTracking(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>&)
{
    m_changedWhileTracking = follow(*touch);
    if (m_changedWhileTracking && m_isContinuous)
        sendActions(Event::valueChanged());
    return true;
}

bool UISlider::continueTracking(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>&)
{
    if (follow(*touch)) {
        m_changedWhileTracking = true;
        if (m_isContinuous)
            sendActions(Event::valueChanged());
    }
    return true;
}

void UISlider::endTracking(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>& event)
{
    UIControl::endTracking(touch, event);
    const bool movedNow = follow(*touch);
    const bool changed = movedNow || m_changedWhileTracking;
    m_changedWhileTracking = false;
    // A continuous slider has reported the changes made while the finger moved already.
    if (movedNow || (changed && !m_isContinuous))
        sendActions(Event::valueChanged());
    if (changed)
        sendActions(Event::primaryActionTriggered());
}

std::optional<Foundation::String> UISlider::accessibilityValue() const
{
    if (auto value = UIControl::accessibilityValue())
        return value;
    const float range = m_maximumValue - m_minimumValue;
    const long percent = range > 0 ? std::lround((m_value - m_minimumValue) / range * 100) : 0;
    return Foundation::String(std::to_string(percent) + "%");
}

UIAccessibilityTraits UISlider::accessibilityTraits() const
{
    return withControlState(explicitAccessibilityTraits().value_or(UIAccessibilityTraits::adjustable()));
}

} // namespace UIKit
