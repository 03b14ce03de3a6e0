#include "Basalwork/Interface/UIViewController.hpp"

#include "Basalwork/Interface/NSLayoutConstraint.hpp"
#include "Basalwork/Interface/UIPopoverPresentationController.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UISplitViewController.hpp"
#include "Platform/UIKit/UIView.hpp"

namespace Basalwork {

std::shared_ptr<UIKit::UIViewController> UIViewControllers::withBackgroundColor(std::shared_ptr<UIKit::UIColor> backgroundColor)
{
    auto controller = Foundation::make<UIKit::UIViewController>();
    controller->loadViewIfNeeded();
    controller->view()->setBackgroundColor(std::move(backgroundColor));
    return controller;
}

bool isCurrentlyInViewHierarchy(const UIKit::UIViewController& controller)
{
    auto view = controller.viewIfLoaded();
    return view && view->window() != nullptr;
}

bool isBeingDisplayedInExpandedSplitView(const UIKit::UIViewController& controller)
{
    auto split = controller.splitViewController();
    return split && !split->isCollapsed();
}

bool isBeingDisplayedInCollapsedSplitView(const UIKit::UIViewController& controller)
{
    auto split = controller.splitViewController();
    return split && split->isCollapsed();
}

std::shared_ptr<UIKit::UIViewController> topMostPresentedVC(const UIKit::UIViewController& controller)
{
    auto top = controller.presentedViewController();
    if (!top || top->isBeingDismissed())
        return nullptr;
    for (;;) {
        auto next = top->presentedViewController();
        if (!next || next->isBeingDismissed())
            return top;
        top = next;
    }
}

std::shared_ptr<UIKit::UIViewController> topMostPresentedVCOrSelf(UIKit::UIViewController& controller)
{
    if (auto top = topMostPresentedVC(controller))
        return top;
    return controller.sharedSelf(&controller);
}

std::shared_ptr<UIKit::UIResponder> findFirstResponder(const UIKit::UIViewController& controller)
{
    auto view = controller.viewIfLoaded();
    if (!view)
        return nullptr;
    return findFirstResponder(*view);
}

void endEditing(const UIKit::UIViewController& controller)
{
    if (auto responder = findFirstResponder(controller))
        responder->resignFirstResponder();
}

void embed(UIKit::UIViewController& controller, const std::shared_ptr<UIKit::UIViewController>& incomingVC,
           UIKit::UIView& into, const std::function<void(const EdgeConstraints&)>& completion)
{
    auto self = controller.sharedSelf(&controller);
    controller.loadViewIfNeeded();
    incomingVC->loadViewIfNeeded();
    incomingVC->willMove(self);
    controller.addChild(incomingVC);
    const auto& incomingView = incomingVC->view();
    into.addSubview(incomingView);
    auto constraints = NSLayoutConstraints::constrainEdges(*incomingView, into, LayoutInsets::zero());
    if (completion)
        completion(constraints);
    incomingVC->didMove(self);
}

void setModalPresentationStyleToPopover(UIKit::UIViewController& controller, const PresentationSource& presentationSource,
                                        UIKit::UIPopoverArrowDirection permittedArrowDirections,
                                        const std::shared_ptr<UIKit::UIPopoverPresentationControllerDelegate>& delegate)
{
    controller.setModalPresentationStyle(UIKit::UIModalPresentationStyle::popover);
    if (auto popover = controller.popoverPresentationController())
        setPresentationSource(*popover, presentationSource, permittedArrowDirections, delegate);
}

} // namespace Basalwork
