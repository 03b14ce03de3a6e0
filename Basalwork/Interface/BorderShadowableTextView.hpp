#pragma once

#include "Basalwork/Interface/BorderShadowable.hpp"

#include "Platform/UIKit/UITextView.hpp"

#include <memory>

namespace Basalwork {

// A text view with a border and shadow.
class BorderShadowableTextView : public BorderShadowable<UIKit::UITextView> {
protected:
    friend Foundation::Construct;
    // init(frame:textContainer:), where the plain initialiser leads too.
    explicit BorderShadowableTextView(const UIKit::CGRect& frame = UIKit::CGRect::zero())
        : BorderShadowable(frame)
    {
    }
    explicit BorderShadowableTextView(Foundation::NSCoder& coder)
        : BorderShadowable(coder)
    {
    }
};

} // namespace Basalwork
