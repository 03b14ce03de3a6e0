#include "Shared/Stores/UserNotificationStore.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/UserDefaults.hpp"

namespace Shared {

namespace {

constexpr const char* permissionKey = "UserNotificationStore.isPermissionGranted";

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("Shared", "UserNotificationStore");
    return logger;
}

} // namespace

const Foundation::Notification::Name& UserNotificationStore::userNotificationStoreDidUpdate()
{
    static const auto& name = *new Foundation::Notification::Name("userNotificationStoreDidUpdate");
    return name;
}

UserNotificationStore::UserNotificationStore(std::shared_ptr<Foundation::UserDefaults> userDefaults,
                                             std::shared_ptr<Foundation::NotificationCenter> notificationCenter)
    : m_userDefaults(std::move(userDefaults))
    , m_notificationCenter(std::move(notificationCenter))
{
}

bool UserNotificationStore::isNotificationPermissionMissing() const
{
    return !m_userDefaults->bool_(permissionKey);
}

void UserNotificationStore::requestNotificationPermission()
{
    requestNotificationPermission(Foundation::DispatchQueue::main(), [](bool) {});
}

void UserNotificationStore::requestNotificationPermission(const std::shared_ptr<Foundation::DispatchQueue>& queue,
                                                          std::function<void(bool granted)> completion)
{
    bool changed = isNotificationPermissionMissing();
    m_userDefaults->set(Foundation::PropertyListValue(true), permissionKey);
    if (changed)
        m_notificationCenter->post(userNotificationStoreDidUpdate(), sharedSelf(this));
    queue->async([completion = std::move(completion)] { completion(true); });
}

void UserNotificationStore::autoCopyOTPDidEnable()
{
    if (isNotificationPermissionMissing())
        requestNotificationPermission();
}

void UserNotificationStore::announceCopiedOneTimePassword()
{
    if (isNotificationPermissionMissing())
        return;
    Foundation::String text = "One-time code copied to the clipboard";
    log().info("Notification: %{public}@", text.utf8());
    m_delivered.push_back(text);
}

std::vector<Foundation::String> UserNotificationStore::deliveredNotifications() const
{
    return m_delivered;
}

} // namespace Shared
