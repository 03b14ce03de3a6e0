#pragma once

#include "Platform/UIKit/UIWindow.hpp"

namespace Corvendale {

// The banner's window: only the banner takes touches; everywhere else they fall through to the windows
// below.
class InAppNotificationW : public UIKit::UIWindow {
public:
    std::shared_ptr<UIKit::UIView> hitTest(UIKit::CGPoint point, const std::shared_ptr<UIKit::UIEvent>& with) override;

protected:
    friend Foundation::Construct;
    using UIWindow::UIWindow;
};

} // namespace Corvendale
