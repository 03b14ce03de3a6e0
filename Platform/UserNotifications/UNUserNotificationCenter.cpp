#include "Platform/UserNotifications/UNUserNotificationCenter.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/RunLoop.hpp"

#include <cstdlib>
#include <cstring>
#include <mutex>

namespace UserNotifications {
namespace {

UNAuthorizationStatus launchStatus()
{
    const char* value = std::getenv("CORVENDALE_NOTIFICATION_AUTHORIZATION");
    if (value && std::strcmp(value, "authorized") == 0)
        return UNAuthorizationStatus::authorized;
    if (value && std::strcmp(value, "denied") == 0)
        return UNAuthorizationStatus::denied;
    return UNAuthorizationStatus::notDetermined;
}

bool launchAnswer()
{
    const char* value = std::getenv("CORVENDALE_NOTIFICATION_ANSWER");
    return !(value && std::strcmp(value, "deny") == 0);
}

struct State {
    std::mutex mutex;
    UNAuthorizationStatus status = launchStatus();
    bool answer = launchAnswer();
    int prompts = 0;
};

State& state()
{
    static auto* shared = new State;
    return *shared;
}

// The service answers from elsewhere; a test's main loop waits for the answer to be queued.
void reply(std::function<void()> work)
{
    static auto* queue = new std::shared_ptr<Foundation::DispatchQueue>(Foundation::DispatchQueue::create("UNUserNotificationCenter.reply"));
    (*queue)->async([work = std::move(work), awaited = Foundation::RunLoop::beginAwaitedWork()] { work(); });
}

} // namespace

std::shared_ptr<UNUserNotificationCenter> UNUserNotificationCenter::current()
{
    static auto* center = new std::shared_ptr<UNUserNotificationCenter>(Foundation::make<UNUserNotificationCenter>());
    return *center;
}

void UNUserNotificationCenter::requestAuthorization(
    UNAuthorizationOptions, std::function<void(bool granted, Foundation::ErrorPtr error)> completionHandler)
{
    bool granted = false;
    {
        auto& s = state();
        std::lock_guard lock(s.mutex);
        if (s.status == UNAuthorizationStatus::notDetermined) {
            ++s.prompts;
            s.status = s.answer ? UNAuthorizationStatus::authorized : UNAuthorizationStatus::denied;
        }
        granted = s.status == UNAuthorizationStatus::authorized || s.status == UNAuthorizationStatus::provisional
            || s.status == UNAuthorizationStatus::ephemeral;
    }
    reply([granted, completionHandler = std::move(completionHandler)] {
        if (completionHandler)
            completionHandler(granted, nullptr);
    });
}

void UNUserNotificationCenter::getNotificationSettings(std::function<void(UNNotificationSettings settings)> completionHandler)
{
    UNNotificationSettings settings;
    {
        auto& s = state();
        std::lock_guard lock(s.mutex);
        settings.authorizationStatus = s.status;
    }
    reply([settings, completionHandler = std::move(completionHandler)] {
        if (completionHandler)
            completionHandler(settings);
    });
}

void UNUserNotificationCenter::setAuthorizationAnswer(bool allows)
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.answer = allows;
}

void UNUserNotificationCenter::setAuthorizationStatus(UNAuthorizationStatus status)
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.status = status;
}

int UNUserNotificationCenter::authorizationPromptCount()
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    return s.prompts;
}

} // namespace UserNotifications
