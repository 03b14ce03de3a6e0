#pragma once

#include "Platform/UIKit/UIView.hpp"

namespace Basalwork {

// A line one device pixel thick, as wide as layout makes it.
class SeparatorView : public UIKit::UIView {
public:
    UIKit::CGSize intrinsicContentSize() const override { return onePixelHigh(); }

    // No width of its own, and one pixel of the main screen high.
    static UIKit::CGSize onePixelHigh();

protected:
    friend Foundation::Construct;
    explicit SeparatorView(const UIKit::CGRect& frame = UIKit::CGRect::zero());
    explicit SeparatorView(Foundation::NSCoder& coder);
};

} // namespace Basalwork
