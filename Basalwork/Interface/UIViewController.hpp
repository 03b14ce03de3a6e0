#pragma once

#include "Basalwork/Interface/EdgeConstraints.hpp"
#include "Basalwork/Interface/PresentationSource.hpp"

#include "Platform/UIKit/UIPopoverArrowDirection.hpp"
#include "Platform/UIKit/UIViewController.hpp"

#include <functional>
#include <memory>

namespace UIKit {
class UIColor;
class UIPopoverPresentationControllerDelegate;
class UIResponder;
class UIView;
}

namespace Basalwork {

// Initialisers of UIViewController.
struct UIViewControllers {
    // init(backgroundColor:): the view is loaded so that it can take the colour.
    static std::shared_ptr<UIKit::UIViewController> withBackgroundColor(std::shared_ptr<UIKit::UIColor> backgroundColor);
};

bool isCurrentlyInViewHierarchy(const UIKit::UIViewController& controller);
inline bool isNotEditing(const UIKit::UIViewController& controller)
{
    return !controller.isEditing();
}
inline bool isNotBeingDismissed(const UIKit::UIViewController& controller)
{
    return !controller.isBeingDismissed();
}
// Both false outside a split view.
bool isBeingDisplayedInExpandedSplitView(const UIKit::UIViewController& controller);
bool isBeingDisplayedInCollapsedSplitView(const UIKit::UIViewController& controller);

// The last controller up the presentation chain; one on its way out never counts, nor does anything
// presented on top of it.
std::shared_ptr<UIKit::UIViewController> topMostPresentedVC(const UIKit::UIViewController& controller);
std::shared_ptr<UIKit::UIViewController> topMostPresentedVCOrSelf(UIKit::UIViewController& controller);

// Searches the view without loading it.
std::shared_ptr<UIKit::UIResponder> findFirstResponder(const UIKit::UIViewController& controller);
// endEditing(true) of the controller's view: whatever is being typed below it ends.
void endEditing(const UIKit::UIViewController& controller);

// Hosts the incoming controller in one of the receiver's own subviews, pinned to its edges, without a
// fade; the completion gets the constraints before the child is told it moved.
void embed(UIKit::UIViewController& controller, const std::shared_ptr<UIKit::UIViewController>& incomingVC,
           UIKit::UIView& into, const std::function<void(const EdgeConstraints&)>& completion);

void setModalPresentationStyleToPopover(UIKit::UIViewController& controller, const PresentationSource& presentationSource,
                                        UIKit::UIPopoverArrowDirection permittedArrowDirections,
                                        const std::shared_ptr<UIKit::UIPopoverPresentationControllerDelegate>& delegate);

} // namespace Basalwork
