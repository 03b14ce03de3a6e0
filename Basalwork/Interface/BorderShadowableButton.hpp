#pragma once

#include "Basalwork/Interface/BorderShadowable.hpp"

#include "Platform/UIKit/UIButton.hpp"

#include <memory>

namespace Basalwork {

// A button with a border and shadow.
class BorderShadowableButton : public BorderShadowable<UIKit::UIButton> {
protected:
    friend Foundation::Construct;
    explicit BorderShadowableButton(const UIKit::CGRect& frame = UIKit::CGRect::zero())
        : BorderShadowable(frame)
    {
    }
    explicit BorderShadowableButton(Foundation::NSCoder& coder)
        : BorderShadowable(coder)
    {
    }
};

} // namespace Basalwork
