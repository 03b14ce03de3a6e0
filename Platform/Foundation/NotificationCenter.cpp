#include "Platform/Foundation/NotificationCenter.hpp"

#include "Platform/Foundation/OperationQueue.hpp"

#include <algorithm>
#include <atomic>

namespace Foundation {
namespace {

// Stands for a block observer; only its identity matters.
class ObserverToken : public NSObject {
public:
    ObserverToken() = default;
};

// Object identity by ownership, so that a dead object's address reused by a new one never matches.
bool isSameObject(const std::weak_ptr<NSObject>& registered, const std::shared_ptr<NSObject>& posted)
{
    return posted && !registered.owner_before(posted) && !posted.owner_before(registered);
}

} // namespace

struct NotificationCenter::Registration {
    const NSObject* observer;
    std::optional<Notification::Name> name;
    bool anyObject;
    std::weak_ptr<NSObject> object;
    std::shared_ptr<OperationQueue> queue;
    std::function<bool(const Notification&)> deliver;
    std::atomic<bool> removed {false};

    bool matches(const Notification& notification) const
    {
        if (removed)
            return false;
        if (name && *name != notification.name())
            return false;
        return anyObject || isSameObject(object, notification.object());
    }
};

const std::shared_ptr<NotificationCenter>& NotificationCenter::defaultCenter()
{
    static auto* center = new std::shared_ptr<NotificationCenter>(make<NotificationCenter>());
    return *center;
}

std::shared_ptr<NSObject> NotificationCenter::addObserver(std::optional<Notification::Name> forName,
                                                          const std::shared_ptr<NSObject>& object,
                                                          const std::shared_ptr<OperationQueue>& queue, Block block)
{
    auto token = make<ObserverToken>();
    // Removal goes by address, so the registration holds its token: while it stands, no later token can be
    // given the same address and remove it by mistake.
    addRegistration(token.get(), std::move(forName), object, queue,
                    [block = std::move(block), token](const Notification& notification) {
                        block(notification);
                        return true;
                    });
    return token;
}

void NotificationCenter::addRegistration(const NSObject* observer, std::optional<Notification::Name> name,
                                         const std::shared_ptr<NSObject>& object,
                                         std::shared_ptr<OperationQueue> queue,
                                         std::function<bool(const Notification&)> deliver)
{
    auto registration = std::make_shared<Registration>();
    registration->observer = observer;
    registration->name = std::move(name);
    registration->anyObject = object == nullptr;
    registration->object = object;
    registration->queue = std::move(queue);
    registration->deliver = std::move(deliver);
    std::lock_guard lock(m_mutex);
    m_registrations.push_back(std::move(registration));
}

void NotificationCenter::removeObserver(const NSObject* observer)
{
    if (!observer)
        return;
    std::lock_guard lock(m_mutex);
    std::erase_if(m_registrations, [observer](const std::shared_ptr<Registration>& registration) {
        if (registration->observer != observer)
            return false;
        registration->removed = true;
        return true;
    });
}

void NotificationCenter::post(const Notification::Name& name, const std::shared_ptr<NSObject>& object,
                              std::optional<Notification::UserInfo> userInfo)
{
    post(Notification(name, object, std::move(userInfo)));
}

void NotificationCenter::post(const Notification& notification)
{
    // Observers may register, remove or post from inside a delivery, so deliver from a snapshot and
    // without holding the lock.
    std::vector<std::shared_ptr<Registration>> snapshot;
    {
        std::lock_guard lock(m_mutex);
        snapshot = m_registrations;
    }
    std::vector<std::shared_ptr<Registration>> gone;
    for (const auto& registration : snapshot) {
        if (!registration->matches(notification))
            continue;
        if (!registration->queue || registration->queue->isCurrent()) {
            if (!registration->deliver(notification))
                gone.push_back(registration);
            continue;
        }
        registration->queue->addOperation([registration, notification] {
            if (!registration->removed)
                registration->deliver(notification);
        });
    }
    drop(gone);
}

void NotificationCenter::drop(const std::vector<std::shared_ptr<Registration>>& gone)
{
    if (gone.empty())
        return;
    std::lock_guard lock(m_mutex);
    std::erase_if(m_registrations, [&gone](const std::shared_ptr<Registration>& registration) {
        return std::find(gone.begin(), gone.end(), registration) != gone.end();
    });
}

} // namespace Foundation
