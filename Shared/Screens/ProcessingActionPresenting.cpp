#include "Shared/Screens/ProcessingActionPresenting.hpp"

#include "Shared/Screens/ProcessingActionVC.hpp"

#include "Basalwork/Interface/UIViewController.hpp"

#include "Platform/UIKit/UIViewController.hpp"

namespace Shared {

namespace {

// The progress sheet somewhere up the controller's presentation chain.
std::shared_ptr<ProcessingActionVC> presentedProcessingActionVC(const UIKit::UIViewController& controller)
{
    for (auto presented = controller.presentedViewController(); presented; presented = presented->presentedViewController()) {
        if (auto sheet = std::dynamic_pointer_cast<ProcessingActionVC>(presented))
            return sheet;
    }
    return nullptr;
}

} // namespace

void ProcessingActionPresenting::didStartProcessing(const ProcessingAction& action, std::function<void()> onPresentation)
{
    auto* controller = dynamic_cast<UIKit::UIViewController*>(this);
    if (!controller) {
        if (onPresentation)
            onPresentation();
        return;
    }
    // Over whatever is on screen already (an editing sheet), so that it stays where it is.
    auto presenter = Basalwork::topMostPresentedVCOrSelf(*controller);
    presenter->present(Foundation::make<ProcessingActionVC>(action), true, std::move(onPresentation));
}

void ProcessingActionPresenting::didFinishProcessing(std::function<void()> onDismissal)
{
    auto* controller = dynamic_cast<UIKit::UIViewController*>(this);
    auto sheet = controller ? presentedProcessingActionVC(*controller) : nullptr;
    auto presenter = sheet ? sheet->presentingViewController() : nullptr;
    if (!presenter) {
        if (onDismissal)
            onDismissal();
        return;
    }
    presenter->dismiss(true, std::move(onDismissal));
}

} // namespace Shared
