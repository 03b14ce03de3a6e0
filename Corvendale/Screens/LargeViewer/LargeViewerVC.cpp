#include "Corvendale/Screens/LargeViewer/LargeViewerVC.hpp"

#include "Corvendale/Screens/LargeViewer/LargeViewerV.hpp"
#include "Corvendale/Screens/LargeViewer/LargeViewerVCDelegate.hpp"

#include "Shared/Screens/UIKeyCommand.hpp"

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"
#include "Platform/UIKit/UIModalPresentationStyle.hpp"
#include "Platform/UIKit/UIModalTransitionStyle.hpp"
#include "Platform/UIKit/UITapGestureRecognizer.hpp"

#include <mutex>

namespace Corvendale {

LargeViewerVC::LargeViewerVC(LargeViewerVContent content)
    : UIViewController(std::nullopt, nullptr)
    , m_content(std::move(content))
{
    setModalPresentationStyle(UIKit::UIModalPresentationStyle::overFullScreen);
    setModalTransitionStyle(UIKit::UIModalTransitionStyle::crossDissolve);
}

LargeViewerVC::LargeViewerVC(Foundation::NSCoder& coder)
    : UIViewController(coder)
    , m_content(LargeViewerVContent::text({}))
{
    Foundation::fatalError("init(coder:) has not been implemented");
}

void LargeViewerVC::initialize()
{
    UIViewController::initialize();
    static std::once_flag registered;
    std::call_once(registered, [] {
        Foundation::MethodTable::add(Foundation::Selector("handleEscapeKeyPress"), &LargeViewerVC::handleEscapeKeyPress);
        Foundation::MethodTable::add(Foundation::Selector("didTapContentOrBackground"), &LargeViewerVC::didTapContentOrBackground);
    });
}

void LargeViewerVC::loadView()
{
    m_largeViewerV = Foundation::make<LargeViewerV>(m_content);
    setView(m_largeViewerV);
}

void LargeViewerVC::viewDidLoad()
{
    UIViewController::viewDidLoad();
    std::weak_ptr<LargeViewerVC> weak = sharedSelf(this);
    view()->addGestureRecognizer(Foundation::make<UIKit::UITapGestureRecognizer>([weak](UIKit::UIGestureRecognizer&) {
        if (auto self = weak.lock())
            self->didTapContentOrBackground();
    }));
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void LargeViewerVC::viewDidAppear(bool animated)
{
    UIViewController::viewDidAppear(animated);
    becomeFirstResponder();
}

std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> LargeViewerVC::keyCommands() const
{
    return std::vector {Shared::UIKeyCommands::withInput(UIKit::UIKeyCommand::inputEscape(), {}, Foundation::Selector("handleEscapeKeyPress"), true)};
}

void LargeViewerVC::didTapContentOrBackground()
{
    if (auto delegate = this->delegate())
        delegate->dismissLargeViewer();
}

void LargeViewerVC::handleEscapeKeyPress()
{
    if (auto delegate = this->delegate())
        delegate->dismissLargeViewer();
}

} // namespace Corvendale
