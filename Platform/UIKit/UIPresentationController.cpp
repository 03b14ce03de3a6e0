#include "Platform/UIKit/UIPresentationController.hpp"

#include "Platform/UIKit/UIAdaptivePresentationControllerDelegate.hpp"
#include "Platform/UIKit/UITraitCollection.hpp"
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

UIModalPresentationStyle UIPresentationController::presentationStyle() const
{
    auto presented = presentedViewController();
    return presented ? presented->modalPresentationStyle() : UIModalPresentationStyle::none;
}

UIModalPresentationStyle UIPresentationController::adaptivePresentationStyle(const UITraitCollection& traits)
{
    const auto style = presentationStyle();
    if (auto delegate = this->delegate()) {
        if (auto chosen = delegate->adaptivePresentationStyle(*this, traits))
            return *chosen == UIModalPresentationStyle::none ? style : *chosen;
    }
    const bool adapts = style == UIModalPresentationStyle::popover || style == UIModalPresentationStyle::formSheet
        || style == UIModalPresentationStyle::pageSheet || style == UIModalPresentationStyle::automatic;
    if (adapts && traits.horizontalSizeClass == UIUserInterfaceSizeClass::compact)
        return UIModalPresentationStyle::fullScreen;
    return style;
}

} // namespace UIKit
