#include "Platform/UIKit/UIPresentationController.hpp"

#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIViewController.hpp"

namespace UIKit {

std::shared_ptr<UIView> UIPresentationController::presentedView() const
{
    auto presented = presentedViewController();
    return presented ? presented->view() : nullptr;
}

CGRect UIPresentationController::frameOfPresentedViewInContainerView() const
{
    return m_containerView ? m_containerView->bounds() : CGRect {};
}

} // namespace UIKit
