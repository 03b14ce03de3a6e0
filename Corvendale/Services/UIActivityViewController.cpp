#include "Corvendale/Services/UIActivityViewController.hpp"

#include "Shared/Screens/PasteboardCoordinator.hpp"

#include "Basalwork/Interface/PresentationSource.hpp"
#include "Basalwork/Interface/UIViewController.hpp"

#include "Platform/UIKit/UIActivityViewController.hpp"
#include "Platform/UIKit/UIPopoverArrowDirection.hpp"

namespace Corvendale {

void prepareForSharing(UIKit::UIActivityViewController& sheet, const Basalwork::PresentationSource& presentationSource,
                       const std::shared_ptr<Shared::PasteboardCoordinator>& pasteboardCoordinator, std::function<void()> onEnd)
{
    sheet.setCompletionWithItemsHandler([pasteboardCoordinator, onEnd = std::move(onEnd)](
                                            const std::optional<UIKit::UIActivityViewController::ActivityType>& activityType, bool completed) {
        if (completed && activityType == UIKit::UIActivityViewController::copyToPasteboard() && pasteboardCoordinator)
            pasteboardCoordinator->adoptPasteboardContent();
        if (onEnd)
            onEnd();
    });
    Basalwork::setModalPresentationStyleToPopover(sheet, presentationSource, UIKit::UIPopoverArrowDirection::any(), nullptr);
}

} // namespace Corvendale
