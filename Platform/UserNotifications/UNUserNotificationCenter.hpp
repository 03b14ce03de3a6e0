#pragma once

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UserNotifications/UNAuthorizationOptions.hpp"
#include "Platform/UserNotifications/UNAuthorizationStatus.hpp"
#include "Platform/UserNotifications/UNNotificationSettings.hpp"

#include <functional>
#include <memory>
#include <optional>

namespace UserNotifications {

// The system's notification service, as far as permission goes. There is no one to ask here: the
// user's answer to the first authorization request is set beforehand, by tests or by the launch
// environment ("CORVENDALE_NOTIFICATION_ANSWER": "allow", the default, or "deny"), and a process can
// start with the question already answered ("CORVENDALE_NOTIFICATION_AUTHORIZATION": "authorized" or
// "denied"; undetermined otherwise). Once answered, a request gets the same answer without asking
// again, as the system does; only a change made "in the system's settings" (`setAuthorizationStatus`)
// moves it. Answers arrive on a queue of the service's own.
class UNUserNotificationCenter : public Foundation::NSObject {
public:
    static std::shared_ptr<UNUserNotificationCenter> current();

    void requestAuthorization(UNAuthorizationOptions options, std::function<void(bool granted, Foundation::ErrorPtr error)> completionHandler);
    void getNotificationSettings(std::function<void(UNNotificationSettings settings)> completionHandler);

    // What the user answers the first request.
    static void setAuthorizationAnswer(bool allows);
    // The user changed the permission in the system's settings (undetermined: it is asked again).
    static void setAuthorizationStatus(UNAuthorizationStatus status);
    // How many times the user was asked.
    static int authorizationPromptCount();

protected:
    friend Foundation::Construct;
    UNUserNotificationCenter() = default;
};

} // namespace UserNotifications
