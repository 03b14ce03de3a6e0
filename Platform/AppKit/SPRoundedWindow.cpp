#include "Platform/AppKit/SPRoundedWindow.hpp"

#include "Platform/AppKit/SPCompletionListRemoteViewController.hpp"

namespace AppKit {

std::shared_ptr<SPRoundedWindow> SPRoundedWindow::showCompletionList()
{
    auto window = Foundation::make<SPRoundedWindow>();
    window->setLevel(Level::popUpMenu());
    window->setContentViewController(Foundation::make<SPCompletionListRemoteViewController>());
    window->orderFront(nullptr);
    return window;
}

} // namespace AppKit
