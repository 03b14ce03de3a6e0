#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Notification.hpp"
#include "Platform/Foundation/String.hpp"

#include <functional>
#include <memory>
#include <vector>

namespace Foundation {
class DispatchQueue;
class NotificationCenter;
class UserDefaults;
} // namespace Foundation

namespace Shared {

// Permission to post user notifications, and the notifications the framework posts (a copied one-time
// code). The system's notification service answers the permission; the last answer is kept in the
// application group's user defaults, so that the program and its AutoFill extension agree before either
// has asked. A change the user makes in the system's settings is read when the application becomes
// active. Posted notifications are logged and kept in `deliveredNotifications()`: none is shown here.
class UserNotificationStore : public Foundation::NSObject {
public:
    static const Foundation::Notification::Name& userNotificationStoreDidUpdate();

    ~UserNotificationStore() override;

    // True while the user has not allowed the application's notifications.
    bool isNotificationPermissionMissing() const;
    void requestNotificationPermission();
    // The answer reaches `completion` on `queue`, after the store has taken it in.
    void requestNotificationPermission(const std::shared_ptr<Foundation::DispatchQueue>& queue, std::function<void(bool granted)> completion);
    // Asks the system again what the user allows (the user may have changed it in the system's settings).
    void refreshNotificationPermission();
    // Copying one-time codes was switched on: it needs the permission to announce them.
    void autoCopyOTPDidEnable();
    void announceCopiedOneTimePassword();

    std::vector<Foundation::String> deliveredNotifications() const;

protected:
    friend Foundation::Construct;
    UserNotificationStore(std::shared_ptr<Foundation::UserDefaults> userDefaults, std::shared_ptr<Foundation::NotificationCenter> notificationCenter);
    void initialize() override;

private:
    // On the main queue: the system's answer taken in, and announced when it changed.
    void record(bool granted);

    std::shared_ptr<Foundation::UserDefaults> m_userDefaults;
    std::shared_ptr<Foundation::NotificationCenter> m_notificationCenter;
    std::shared_ptr<Foundation::NSObject> m_activationObserver;
    std::vector<Foundation::String> m_delivered;
};

} // namespace Shared
