#pragma once

#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/UIWindow.hpp"

#include <memory>

namespace UIKit {
class UIWindowScene;
}

namespace Basalwork {

// A window that turns the user's activity into `uiInteractionDidOccur`: every touch, key press, scroll
// and pointer hover it receives, and every text change in a text field or text view. The notification is
// posted at most once a second, whichever window saw the activity.
class UserInteractionNotifyingWindow : public UIKit::UIWindow {
public:
    // For activity the window cannot see: screens call it themselves.
    static void handleUserInteractionEvent();
    // When the notification was last posted; the distant past before the first time.
    static Foundation::Date lastInteractionPostedAt();
    // Stands for the class itself, which is the object of the notifications it posts.
    static const std::shared_ptr<Foundation::NSObject>& classObject();

    void sendEvent(const std::shared_ptr<UIKit::UIEvent>& event) override;

protected:
    friend Foundation::Construct;
    explicit UserInteractionNotifyingWindow(const std::shared_ptr<UIKit::UIWindowScene>& windowScene);
    // Built in code only: stops the program.
    explicit UserInteractionNotifyingWindow(Foundation::NSCoder& coder);
    void initialize() override;
    virtual void registerForTextChangeNotifications();
};

} // namespace Basalwork
