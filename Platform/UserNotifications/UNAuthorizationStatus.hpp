#pragma once

#include <cstdint>

namespace UserNotifications {

// Whether the user lets the application post notifications.
enum class UNAuthorizationStatus : std::int64_t {
    notDetermined = 0,
    denied = 1,
    authorized = 2,
    provisional = 3,
    ephemeral = 4,
};

} // namespace UserNotifications
