#pragma once

#include "Platform/UIKit/UIControl.hpp"

namespace UIKit {

// A value between a minimum and a maximum that follows the finger along the track: the touch's place
// across the width is the value. A continuous slider reports each change as the finger moves, the other
// kind once it lifts.
class UISlider : public UIControl {
public:
    float value() const { return m_value; }
    void setValue(float value, bool animated = false);
    float minimumValue() const { return m_minimumValue; }
    void setMinimumValue(float value);
    float maximumValue() const { return m_maximumValue; }
    void setMaximumValue(float value);
    bool isContinuous() const { return m_isContinuous; }
    void setIsContinuous(bool continuous) { m_isContinuous = continuous; }

    CGSize intrinsicContentSize() const override { return {noIntrinsicMetric, 31}; }
    // The value as a percentage of the range, as the platform reads it out.
    std::optional<Foundation::String> accessibilityValue() const override;
    UIAccessibilityTraits accessibilityTraits() const override;

protected:
    friend Foundation::Construct;
    UISlider() = default;
    explicit UISlider(const CGRect& frame)
        : UIControl(frame)
    {
    }
    bool beginTracking(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>& event) override;
    bool continueTracking(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>& event) override;
    void endTracking(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>& event) override;

private:
    // Moves the value to the touch; true when it changed.
    bool follow(const UITouch& touch);

    float m_value = 0;
    float m_minimumValue = 0;
    float m_maximumValue = 1;
    bool m_isContinuous = true;
    bool m_changedWhileTracking = false;
};

} // namespace UIKit
