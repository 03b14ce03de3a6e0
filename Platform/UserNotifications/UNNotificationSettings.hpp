#pragma once

#include "Platform/UserNotifications/UNAuthorizationStatus.hpp"

namespace UserNotifications {

// What the user allows the application's notifications, as the system reports it.
struct UNNotificationSettings {
    UNAuthorizationStatus authorizationStatus = UNAuthorizationStatus::notDetermined;
};

} // namespace UserNotifications
