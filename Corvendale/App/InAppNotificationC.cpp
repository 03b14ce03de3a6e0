#include "Corvendale/App/InAppNotificationC.hpp"

#include "Corvendale/App/InAppNotificationVC.hpp"

#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIWindow.hpp"

namespace Corvendale {

InAppNotificationC::InAppNotificationC(std::shared_ptr<UIKit::UIWindow> window)
    : InAppNotificationC(std::move(window), Foundation::make<InAppNotificationVC>())
{
}

InAppNotificationC::InAppNotificationC(std::shared_ptr<UIKit::UIWindow> window, std::shared_ptr<InAppNotificationVC> controller)
    : CoordinatingViewController(controller)
    , m_inAppNotificationWindow(std::move(window))
    , m_inAppNotificationVC(std::move(controller))
{
}

void InAppNotificationC::initialize()
{
    CoordinatingViewController::initialize();
    const auto& window = m_inAppNotificationWindow;
    window->setAccessibilityIdentifier(Foundation::String("inAppNotificationWindow"));
    window->setWindowLevel({windowLevel});
    window->setRootViewController(sharedSelf(this));
    window->setIsUserInteractionEnabled(true);
    Basalwork::setIsVisible(*window, true);
}

void InAppNotificationC::viewDidLoad()
{
    CoordinatingViewController::viewDidLoad();
    view()->setAccessibilityIdentifier(Foundation::String("InAppNotificationC"));
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void InAppNotificationC::present(const InAppNotification& notification, bool animated, double duration)
{
    m_inAppNotificationVC->present(notification, animated, duration);
}

} // namespace Corvendale
