#include "Shared/Stores/UserNotificationStore.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/UserDefaults.hpp"
#include "Platform/UserNotifications/UNUserNotificationCenter.hpp"

namespace Shared {

namespace {

using UserNotifications::UNAuthorizationStatus;
using UserNotifications::UNUserNotificationCenter;

constexpr const char* permissionKey = "UserNotificationStore.isPermissionGranted";

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("Shared", "UserNotificationStore");
    return logger;
}

bool isGranted(UNAuthorizationStatus status)
{
    return status == UNAuthorizationStatus::authorized || status == UNAuthorizationStatus::provisional || status == UNAuthorizationStatus::ephemeral;
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

void UserNotificationStore::initialize()
{
    NSObject::initialize();
    std::weak_ptr<UserNotificationStore> weak = sharedSelf(this);
    m_activationObserver = m_notificationCenter->addObserver(Foundation::Notification::Name("UIApplicationDidBecomeActiveNotification"), nullptr, nullptr,
                                                             [weak](const Foundation::Notification&) {
                                                                 if (auto self = weak.lock())
                                                                     self->refreshNotificationPermission();
                                                             });
    refreshNotificationPermission();
}

UserNotificationStore::~UserNotificationStore()
{
    if (m_activationObserver)
        m_notificationCenter->removeObserver(m_activationObserver.get());
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
    std::weak_ptr<UserNotificationStore> weak = sharedSelf(this);
    auto options = UserNotifications::UNAuthorizationOptions::alert() | UserNotifications::UNAuthorizationOptions::sound();
    UNUserNotificationCenter::current()->requestAuthorization(options, [weak, queue, completion = std::move(completion)](bool granted, Foundation::ErrorPtr) {
        Foundation::DispatchQueue::main()->async([weak, queue, completion, granted] {
            if (auto self = weak.lock())
                self->record(granted);
            queue->async([completion, granted] { completion(granted); });
        });
    });
}

void UserNotificationStore::refreshNotificationPermission()
{
    std::weak_ptr<UserNotificationStore> weak = sharedSelf(this);
    UNUserNotificationCenter::current()->getNotificationSettings([weak](UserNotifications::UNNotificationSettings settings) {
        // Not asked yet in this session of the system: the answer kept from before stands.
        if (settings.authorizationStatus == UNAuthorizationStatus::notDetermined)
            return;
        Foundation::DispatchQueue::main()->async([weak, granted = isGranted(settings.authorizationStatus)] {
            if (auto self = weak.lock())
                self->record(granted);
        });
    });
}

void UserNotificationStore::record(bool granted)
{
    if (!isNotificationPermissionMissing() == granted)
        return;
    m_userDefaults->set(Foundation::PropertyListValue(granted), permissionKey);
    m_notificationCenter->post(userNotificationStoreDidUpdate(), sharedSelf(this));
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
