#include "Corvendale/App/InAppNotificationW.hpp"

#include "Corvendale/App/InAppNotificationV.hpp"

namespace Corvendale {

std::shared_ptr<UIKit::UIView> InAppNotificationW::hitTest(UIKit::CGPoint point, const std::shared_ptr<UIKit::UIEvent>& with)
{
    auto view = UIWindow::hitTest(point, with);
    return std::dynamic_pointer_cast<InAppNotificationV>(view) ? view : nullptr;
}

} // namespace Corvendale
