#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Notification.hpp"

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace Foundation {

class OperationQueue;

// Delivers posted notifications to the observers registered for their name and object. An observer
// without a queue, or whose queue is current when the notification is posted, is called inside `post`;
// any other is called later on its queue. Observers are called in the order they registered.
class NotificationCenter : public NSObject {
public:
    using Block = std::function<void(const Notification&)>;

    static const std::shared_ptr<NotificationCenter>& defaultCenter();

    // A block observer for `name` (nothing: every name) from `object` (null: any object). It stays until
    // the returned token is passed to `removeObserver`; dropping the token does not remove it.
    std::shared_ptr<NSObject> addObserver(std::optional<Notification::Name> forName,
                                          const std::shared_ptr<NSObject>& object,
                                          const std::shared_ptr<OperationQueue>& queue, Block block);

    // An object observer: `selector` is called on `observer`, which the centre holds weakly; once the
    // observer is gone it is no longer called. Delivered on the posting thread.
    template <class Observer>
    void addObserver(const std::shared_ptr<Observer>& observer, void (Observer::*selector)(const Notification&),
                     std::optional<Notification::Name> name, const std::shared_ptr<NSObject>& object)
    {
        std::weak_ptr<Observer> weak = observer;
        addRegistration(static_cast<const NSObject*>(observer.get()), std::move(name), object, nullptr,
                        [weak, selector](const Notification& notification) {
                            auto strong = weak.lock();
                            if (!strong)
                                return false;
                            ((*strong).*selector)(notification);
                            return true;
                        });
    }
    template <class Observer>
    void addObserver(const std::shared_ptr<Observer>& observer, void (Observer::*selector)(),
                     std::optional<Notification::Name> name, const std::shared_ptr<NSObject>& object)
    {
        std::weak_ptr<Observer> weak = observer;
        addRegistration(static_cast<const NSObject*>(observer.get()), std::move(name), object, nullptr,
                        [weak, selector](const Notification&) {
                            auto strong = weak.lock();
                            if (!strong)
                                return false;
                            ((*strong).*selector)();
                            return true;
                        });
    }

    // Removes everything registered for `observer`: a token removes its block, an object all of its
    // registrations. Deliveries still queued for them are dropped. Takes a plain pointer so that an
    // observer can remove itself while it is being destroyed.
    void removeObserver(const NSObject* observer);
    void removeObserver(const std::shared_ptr<NSObject>& observer) { removeObserver(observer.get()); }

    void post(const Notification& notification);
    void post(const Notification::Name& name, const std::shared_ptr<NSObject>& object = nullptr,
              std::optional<Notification::UserInfo> userInfo = std::nullopt);

protected:
    friend Construct;
    NotificationCenter() = default;

private:
    struct Registration;
    // The deliverer answers false when its observer has gone, so that the registration can be dropped.
    void addRegistration(const NSObject* observer, std::optional<Notification::Name> name,
                         const std::shared_ptr<NSObject>& object, std::shared_ptr<OperationQueue> queue,
                         std::function<bool(const Notification&)> deliver);
    void drop(const std::vector<std::shared_ptr<Registration>>& gone);

    std::mutex m_mutex;
    std::vector<std::shared_ptr<Registration>> m_registrations;
};

} // namespace Foundation
