#include "Basalwork/Interface/UIPopoverPresentationController.hpp"

namespace Basalwork {

void setPresentationSource(UIKit::UIPopoverPresentationController& popover, const PresentationSource& presentationSource)
{
    if (const auto* item = presentationSource.as<PresentationSource::BarButtonItem>()) {
        popover.setBarButtonItem(item->item);
        popover.setSourceView(nullptr);
        popover.setSourceRect(UIKit::CGRect::zero());
    } else if (const auto* source = presentationSource.as<PresentationSource::Source>()) {
        popover.setBarButtonItem(nullptr);
        popover.setSourceView(source->view);
        popover.setSourceRect(source->rect);
    }
}

void setPresentationSource(UIKit::UIPopoverPresentationController& popover, const PresentationSource& presentationSource,
                           UIKit::UIPopoverArrowDirection permittedArrowDirections,
                           const std::shared_ptr<UIKit::UIPopoverPresentationControllerDelegate>& delegate)
{
    setPresentationSource(popover, presentationSource);
    popover.setPermittedArrowDirections(permittedArrowDirections);
    popover.setDelegate(delegate);
}

} // namespace Basalwork
