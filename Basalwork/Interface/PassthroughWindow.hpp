#pragma once

#include "Platform/UIKit/UIWindow.hpp"

#include <memory>

namespace Basalwork {

// A window that lets touches on its empty areas through, so an overlay (a banner) can sit above the
// main window without blocking it.
class PassthroughWindow : public UIKit::UIWindow {
public:
    std::shared_ptr<UIKit::UIView> hitTest(UIKit::CGPoint point, const std::shared_ptr<UIKit::UIEvent>& with) override
    {
        auto hit = UIWindow::hitTest(point, with);
        return hit.get() == this ? nullptr : hit;
    }

protected:
    friend Foundation::Construct;
    explicit PassthroughWindow(const UIKit::CGRect& frame = UIKit::CGRect::zero())
        : UIWindow(frame)
    {
    }
    // init(windowScene:)
    explicit PassthroughWindow(const std::shared_ptr<UIKit::UIWindowScene>& windowScene)
        : UIWindow(windowScene)
    {
    }
    explicit PassthroughWindow(Foundation::NSCoder& coder)
        : UIWindow(coder)
    {
    }
};

} // namespace Basalwork
