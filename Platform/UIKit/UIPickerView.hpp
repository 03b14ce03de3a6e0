#pragma once

#include "Platform/UIKit/KeyValueCoding.hpp"
#include "Platform/UIKit/UIView.hpp"

namespace UIKit {

// Spinning wheels of choices. Only the values set on it by key are recorded.
class UIPickerView : public UIView, public KeyValueCoding {
protected:
    friend Foundation::Construct;
    UIPickerView() = default;
    explicit UIPickerView(const CGRect& frame)
        : UIView(frame)
    {
    }
};

} // namespace UIKit
