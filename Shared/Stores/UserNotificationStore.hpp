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
// code). There is no notification service here: a request is granted and remembered in the application
// group's user defaults, and posted notifications are logged and kept in `deliveredNotifications()`.
class UserNotificationStore : public Foundation::NSObject {
public:
    static const Foundation::Notification::Name& userNotificationStoreDidUpdate();

    // True while permission to post notifications is still to be obtained.
    bool isNotificationPermissionMissing() const;
    void requestNotificationPermission();
    // The answer reaches `completion` on `queue`.
    void requestNotificationPermission(const std::shared_ptr<Foundation::DispatchQueue>& queue, std::function<void(bool granted)> completion);
    // Copying one-time codes was switched on: it needs the permission to announce them.
    void autoCopyOTPDidEnable();
    void announceCopiedOneTimePassword();

    std::vector<Foundation::String> deliveredNotifications() const;

protected:
    friend Foundation::Construct;
    UserNotificationStore(std::shared_ptr<Foundation::UserDefaults> userDefaults, std::shared_ptr<Foundation::NotificationCenter> notificationCenter);

private:
    std::shared_ptr<Foundation::UserDefaults> m_userDefaults;
    std::shared_ptr<Foundation::NotificationCenter> m_notificationCenter;
    std::vector<Foundation::String> m_delivered;
};

} // namespace Shared
