#pragma once

#include "Basalwork/Interface/BorderShadowable.hpp"

#include "Platform/UIKit/UIView.hpp"

#include <memory>

namespace Basalwork {

// A view with a border and shadow; the base of the kit's styled views.
class BorderShadowableView : public BorderShadowable<UIKit::UIView> {
protected:
    friend Foundation::Construct;
    explicit BorderShadowableView(const UIKit::CGRect& frame = UIKit::CGRect::zero())
        : BorderShadowable(frame)
    {
    }
    explicit BorderShadowableView(Foundation::NSCoder& coder)
        : BorderShadowable(coder)
    {
    }
};

} // namespace Basalwork
