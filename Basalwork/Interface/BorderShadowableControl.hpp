#pragma once

#include "Basalwork/Interface/BorderShadowable.hpp"

#include "Platform/UIKit/UIControl.hpp"

#include <memory>

namespace Basalwork {

// A control with a border and shadow.
class BorderShadowableControl : public BorderShadowable<UIKit::UIControl> {
protected:
    friend Foundation::Construct;
    explicit BorderShadowableControl(const UIKit::CGRect& frame = UIKit::CGRect::zero())
        : BorderShadowable(frame)
    {
    }
    explicit BorderShadowableControl(Foundation::NSCoder& coder)
        : BorderShadowable(coder)
    {
    }
};

} // namespace Basalwork
