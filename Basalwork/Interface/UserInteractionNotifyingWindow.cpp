#include "Basalwork/Interface/UserInteractionNotifyingWindow.hpp"

#include "Basalwork/Interface/Notification.Name.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/UIKit/UIEvent.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UITextView.hpp"

namespace Basalwork {
namespace {

using Foundation::Date;
using Foundation::NotificationCenter;

class UserInteractionNotifyingWindowClass : public Foundation::NSObject {
public:
    UserInteractionNotifyingWindowClass() = default;
};

const std::shared_ptr<NotificationCenter>& notificationCenter()
{
    static const auto& center = NotificationCenter::defaultCenter();
    return center;
}

Date& lastPosted()
{
    static Date date = Date::distantPast();
    return date;
}

} // namespace

UserInteractionNotifyingWindow::UserInteractionNotifyingWindow(Foundation::NSCoder& coder)
    : UIWindow(coder)
{
    Foundation::fatalError("init(coder:) has not been implemented");
}

UserInteractionNotifyingWindow::UserInteractionNotifyingWindow(const std::shared_ptr<UIKit::UIWindowScene>& windowScene)
    : UIWindow(windowScene)
{
}

void UserInteractionNotifyingWindow::initialize()
{
    UIWindow::initialize();
    registerForTextChangeNotifications();
}

const std::shared_ptr<Foundation::NSObject>& UserInteractionNotifyingWindow::classObject()
{
    static auto* object = new std::shared_ptr<Foundation::NSObject>(Foundation::make<UserInteractionNotifyingWindowClass>());
    return *object;
}

Date UserInteractionNotifyingWindow::lastInteractionPostedAt()
{
    return lastPosted();
}

void UserInteractionNotifyingWindow::handleUserInteractionEvent()
{
    if (Date::now().timeIntervalSince(lastPosted()) > 1.0) {
        lastPosted() = Date::now();
        notificationCenter()->post(uiInteractionDidOccur(), classObject());
    }
}

void UserInteractionNotifyingWindow::sendEvent(const std::shared_ptr<UIKit::UIEvent>& event)
{
    using Type = UIKit::UIEvent::EventType;
    switch (event->type()) {
    case Type::touches:
    case Type::presses:
    case Type::scroll:
    case Type::hover:
        handleUserInteractionEvent();
        break;
    default:
        break;
    }
    UIWindow::sendEvent(event);
}

void UserInteractionNotifyingWindow::registerForTextChangeNotifications()
{
    // The observers live as long as the process; every one of them only calls the class-wide handler.
    for (const auto& name : {UIKit::UITextField::textDidChangeNotification(), UIKit::UITextView::textDidChangeNotification()})
        notificationCenter()->addObserver(name, nullptr, Foundation::OperationQueue::main(),
                                          [](const Foundation::Notification&) { handleUserInteractionEvent(); });
}

} // namespace Basalwork
