#pragma once

#include "Basalwork/Interface/PresentationSource.hpp"

#include "Platform/UIKit/UIPopoverArrowDirection.hpp"
#include "Platform/UIKit/UIPopoverPresentationController.hpp"
#include "Platform/UIKit/UIPopoverPresentationControllerDelegate.hpp"

#include <memory>

namespace Basalwork {

// set(presentationSource:): anchors the pop-over on the source alone. The anchor of the other kind is
// cleared, so a pop-over moved from a bar-button item to a view does not keep pointing at the item.
void setPresentationSource(UIKit::UIPopoverPresentationController& popover, const PresentationSource& presentationSource);
// set(presentationSource:permittedArrowDirections:delegate:): the same, then the arrows and the delegate.
void setPresentationSource(UIKit::UIPopoverPresentationController& popover, const PresentationSource& presentationSource,
                           UIKit::UIPopoverArrowDirection permittedArrowDirections,
                           const std::shared_ptr<UIKit::UIPopoverPresentationControllerDelegate>& delegate);

} // namespace Basalwork
