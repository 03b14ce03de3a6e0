#pragma once

#include "Platform/Foundation/OptionSet.hpp"

namespace UserNotifications {

// What an application asks to do with its notifications.
struct UNAuthorizationOptions : Foundation::OptionSet<UNAuthorizationOptions> {
    static constexpr UNAuthorizationOptions badge() { return {1}; }
    static constexpr UNAuthorizationOptions sound() { return {2}; }
    static constexpr UNAuthorizationOptions alert() { return {4}; }
    static constexpr UNAuthorizationOptions provisional() { return {64}; }
};

} // namespace UserNotifications
