#pragma once

#include "Platform/UIKit/UIView.hpp"

namespace Basalwork {

// A small capsule to grab a sheet or panel by.
class HandleView : public UIKit::UIView {
public:
    void layoutSubviews() override;
    UIKit::CGSize intrinsicContentSize() const override { return {50.0, 5.0}; }

protected:
    friend Foundation::Construct;
    explicit HandleView(const UIKit::CGRect& frame = UIKit::CGRect::zero());
    explicit HandleView(Foundation::NSCoder& coder);
};

} // namespace Basalwork
