#pragma once

#include "Platform/UIKit/UIView.hpp"

namespace UIKit {

// A view the user operates.
class UIControl : public UIView {
public:
    bool isEnabled() const { return m_isEnabled; }
    void setIsEnabled(bool enabled) { m_isEnabled = enabled; }

protected:
    friend Foundation::Construct;
    UIControl() = default;
    explicit UIControl(const CGRect& frame)
        : UIView(frame)
    {
    }

private:
    bool m_isEnabled = true;
};

} // namespace UIKit
