#pragma once

#include "Basalwork/Interface/BorderShadowableView.hpp"

#include <memory>

namespace Basalwork {

// A container that never takes a touch itself, so touches on its empty areas reach what lies behind
// it; its subviews still get theirs.
class PassthroughView : public BorderShadowableView {
public:
    std::shared_ptr<UIKit::UIView> hitTest(UIKit::CGPoint point, const std::shared_ptr<UIKit::UIEvent>& with) override
    {
        auto hit = BorderShadowableView::hitTest(point, with);
        return hit.get() == this ? nullptr : hit;
    }

protected:
    friend Foundation::Construct;
    explicit PassthroughView(const UIKit::CGRect& frame = UIKit::CGRect::zero())
        : BorderShadowableView(frame)
    {
    }
    explicit PassthroughView(Foundation::NSCoder& coder)
        : BorderShadowableView(coder)
    {
    }
};

} // namespace Basalwork
