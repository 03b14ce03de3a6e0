#pragma once

#include "Platform/UIKit/KeyValueCoding.hpp"
#include "Platform/UIKit/UIControl.hpp"
#include "Platform/UIKit/UIDatePickerStyle.hpp"

namespace UIKit {

// Picks a date. Only its style and the values set on it by key are recorded.
class UIDatePicker : public UIControl, public KeyValueCoding {
public:
    UIDatePickerStyle preferredDatePickerStyle() const { return m_preferredDatePickerStyle; }
    void setPreferredDatePickerStyle(UIDatePickerStyle style) { m_preferredDatePickerStyle = style; }

protected:
    friend Foundation::Construct;
    UIDatePicker() = default;
    explicit UIDatePicker(const CGRect& frame)
        : UIControl(frame)
    {
    }

private:
    UIDatePickerStyle m_preferredDatePickerStyle = UIDatePickerStyle::automatic;
};

} // namespace UIKit
