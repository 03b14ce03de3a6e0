#pragma once

#include "Platform/UIKit/UIControl.hpp"

namespace UIKit {

// A pair of minus and plus buttons: a tap on the left half steps the value down, on the right half up,
// within the limits (or around them when it wraps), and reports a value change.
class UIStepper : public UIControl {
public:
    double value() const { return m_value; }
    void setValue(double value);
    double minimumValue() const { return m_minimumValue; }
    void setMinimumValue(double value);
    double maximumValue() const { return m_maximumValue; }
    void setMaximumValue(double value);
    double stepValue() const { return m_stepValue; }
    // A step that is not positive stops the program, as the platform does.
    void setStepValue(double value);
    bool wraps() const { return m_wraps; }
    void setWraps(bool wraps) { m_wraps = wraps; }

    CGSize intrinsicContentSize() const override { return {94, 32}; }
    std::optional<Foundation::String> accessibilityValue() const override;
    UIAccessibilityTraits accessibilityTraits() const override;

protected:
    friend Foundation::Construct;
    UIStepper() = default;
    void endTracking(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>& event) override;

private:
    double m_value = 0;
    double m_minimumValue = 0;
    double m_maximumValue = 100;
    double m_stepValue = 1;
    bool m_wraps = false;
};

} // namespace UIKit
