#pragma once

#include "Platform/UIKit/UIControl.hpp"

namespace UIKit {

// An on-off switch: a tap turns it over and reports a value change and its primary action.
class UISwitch : public UIControl {
public:
    bool isOn() const { return m_isOn; }
    void setIsOn(bool on) { m_isOn = on; }
    void setOn(bool on, bool /*animated*/) { m_isOn = on; }

    CGSize intrinsicContentSize() const override { return {51, 31}; }
    std::optional<Foundation::String> accessibilityValue() const override;
    UIAccessibilityTraits accessibilityTraits() const override;

protected:
    friend Foundation::Construct;
    UISwitch() = default;
    explicit UISwitch(const CGRect& frame)
        : UIControl(frame)
    {
    }
    void endTracking(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>& event) override;

private:
    bool m_isOn = false;
};

} // namespace UIKit
