#pragma once

#include "Platform/UIKit/UIStackView.hpp"

#include <memory>

namespace Basalwork {

// A stack view that lets touches on its empty areas through to what lies behind it.
class PassthroughStackView : public UIKit::UIStackView {
public:
    std::shared_ptr<UIKit::UIView> hitTest(UIKit::CGPoint point, const std::shared_ptr<UIKit::UIEvent>& with) override
    {
        auto hit = UIStackView::hitTest(point, with);
        return hit.get() == this ? nullptr : hit;
    }

protected:
    friend Foundation::Construct;
    PassthroughStackView() = default;
    explicit PassthroughStackView(const UIKit::CGRect& frame)
        : UIStackView(frame)
    {
    }
    explicit PassthroughStackView(Foundation::NSCoder& coder)
        : UIStackView(coder)
    {
    }
};

} // namespace Basalwork
