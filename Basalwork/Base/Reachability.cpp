#include "Basalwork/Base/Reachability.hpp"

#include "Basalwork/Base/Notification.Name.hpp"
#include "Basalwork/Base/ReachabilityError.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/SystemConfiguration/SCError.hpp"

#include <cstring>
#include <netinet/in.h>

namespace Basalwork {

using SystemConfiguration::SCNetworkReachability;
using SystemConfiguration::SCNetworkReachabilityFlags;

namespace {

// What the service holds as the callback's context: a weak reference, so that the service never keeps
// the Reachability alive.
class ReachabilityWeakifier : public Foundation::NSObject {
public:
    std::weak_ptr<Reachability> reachability;

protected:
    friend Foundation::Construct;
    explicit ReachabilityWeakifier(std::weak_ptr<Reachability> reachability)
        : reachability(std::move(reachability))
    {
    }
};

std::shared_ptr<Reachability> reachabilityFrom(const std::shared_ptr<Foundation::NSObject>& info)
{
    auto weakifier = std::dynamic_pointer_cast<ReachabilityWeakifier>(info);
    return weakifier ? weakifier->reachability.lock() : nullptr;
}

std::shared_ptr<SCNetworkReachability> targetForHostname(const Foundation::String& hostname)
{
    // A name with a NUL in it would reach the service cut short, naming another host.
    if (hostname.utf8().find('\0') != std::string::npos)
        throw ReachabilityError::failedToCreateWithHostname(hostname, SystemConfiguration::kSCStatusInvalidArgument);
    auto target = SCNetworkReachability::createWithName(hostname.utf8().c_str());
    if (!target)
        throw ReachabilityError::failedToCreateWithHostname(hostname, SystemConfiguration::SCError());
    return target;
}

std::shared_ptr<SCNetworkReachability> targetForZeroAddress()
{
    sockaddr_in zero {};
    zero.sin_family = AF_INET;
    sockaddr address;
    static_assert(sizeof address == sizeof zero);
    std::memcpy(&address, &zero, sizeof address);
    auto target = SCNetworkReachability::createWithAddress(address);
    if (!target)
        throw ReachabilityError::failedToCreateWithAddress(address, SystemConfiguration::SCError());
    return target;
}

} // namespace

Reachability::Reachability(std::shared_ptr<SCNetworkReachability> reachabilityRef, Foundation::DispatchQoS::QoSClass queueQoS,
                           std::shared_ptr<Foundation::DispatchQueue> targetQueue,
                           std::shared_ptr<Foundation::DispatchQueue> notificationQueue)
    : m_reachabilityRef(std::move(reachabilityRef))
    , m_reachabilitySerialQueue(Foundation::DispatchQueue::create("com.basalwork.reachability", queueQoS,
                                                                  Foundation::DispatchQueue::Attributes::serial,
                                                                  Foundation::DispatchQueue::AutoreleaseFrequency::inherit,
                                                                  std::move(targetQueue)))
    , m_notificationQueue(std::move(notificationQueue))
    , m_notificationCenter(Foundation::NotificationCenter::defaultCenter())
{
    Foundation::precondition(m_reachabilityRef != nullptr, "Reachability needs a reachability target");
}

Reachability::Reachability(const Foundation::String& hostname, Foundation::DispatchQoS::QoSClass queueQoS,
                           std::shared_ptr<Foundation::DispatchQueue> targetQueue,
                           std::shared_ptr<Foundation::DispatchQueue> notificationQueue)
    : Reachability(targetForHostname(hostname), queueQoS, std::move(targetQueue), std::move(notificationQueue))
{
}

Reachability::Reachability(Foundation::DispatchQoS::QoSClass queueQoS, std::shared_ptr<Foundation::DispatchQueue> targetQueue,
                           std::shared_ptr<Foundation::DispatchQueue> notificationQueue)
    : Reachability(targetForZeroAddress(), queueQoS, std::move(targetQueue), std::move(notificationQueue))
{
}

Reachability::~Reachability()
{
    stopMonitoring();
}

Reachability::Closure Reachability::whenReachable() const
{
    std::lock_guard lock(m_mutex);
    return m_whenReachable;
}

void Reachability::setWhenReachable(Closure closure)
{
    std::lock_guard lock(m_mutex);
    m_whenReachable = std::move(closure);
}

Reachability::Closure Reachability::whenUnreachable() const
{
    std::lock_guard lock(m_mutex);
    return m_whenUnreachable;
}

void Reachability::setWhenUnreachable(Closure closure)
{
    std::lock_guard lock(m_mutex);
    m_whenUnreachable = std::move(closure);
}

bool Reachability::allowsCellularConnection() const
{
    std::lock_guard lock(m_mutex);
    return m_allowsCellularConnection;
}

void Reachability::setAllowsCellularConnection(bool allows)
{
    std::lock_guard lock(m_mutex);
    m_allowsCellularConnection = allows;
}

std::shared_ptr<Foundation::NotificationCenter> Reachability::notificationCenter() const
{
    std::lock_guard lock(m_mutex);
    return m_notificationCenter;
}

void Reachability::setNotificationCenter(std::shared_ptr<Foundation::NotificationCenter> center)
{
    std::lock_guard lock(m_mutex);
    m_notificationCenter = std::move(center);
}

void Reachability::startNotifier()
{
    {
        // Claimed up front, so that two callers cannot both register; every failure below gives it back.
        std::lock_guard lock(m_mutex);
        if (m_notifierRunning)
            return;
        m_notifierRunning = true;
    }
    SystemConfiguration::SCNetworkReachabilityContext context;
    context.version = 0;
    context.info = Foundation::make<ReachabilityWeakifier>(weakSelf(this));
    context.copyDescription = [](const std::shared_ptr<Foundation::NSObject>& info) -> std::string {
        auto reachability = reachabilityFrom(info);
        return reachability ? reachability->description() : "nil";
    };
    auto callback = [](SCNetworkReachability&, SCNetworkReachabilityFlags flags, const std::shared_ptr<Foundation::NSObject>& info) {
        if (auto reachability = reachabilityFrom(info))
            reachability->flagsDidArrive(flags);
    };
    if (!m_reachabilityRef->setCallback(callback, &context)) {
        auto status = SystemConfiguration::SCError();
        stopMonitoring();
        throw ReachabilityError::unableToSetCallback(status);
    }
    if (!m_reachabilityRef->setDispatchQueue(m_reachabilitySerialQueue)) {
        auto status = SystemConfiguration::SCError();
        stopMonitoring();
        throw ReachabilityError::unableToSetDispatchQueue(status);
    }
    if (auto status = readFlagsAndWait())
        throw ReachabilityError::unableToGetFlags(*status);
}

void Reachability::stopNotifier()
{
    stopMonitoring();
}

void Reachability::stopMonitoring() const
{
    m_reachabilityRef->setCallback(nullptr, nullptr);
    m_reachabilityRef->setDispatchQueue(nullptr);
    std::lock_guard lock(m_mutex);
    m_notifierRunning = false;
}

std::optional<std::int32_t> Reachability::readFlags() const
{
    SCNetworkReachabilityFlags flags;
    if (!m_reachabilityRef->getFlags(flags)) {
        auto status = SystemConfiguration::SCError();
        stopMonitoring();
        return status;
    }
    flagsDidArrive(flags);
    return std::nullopt;
}

std::optional<std::int32_t> Reachability::readFlagsAndWait() const
{
    std::optional<std::int32_t> failure;
    m_reachabilitySerialQueue->sync([&] { failure = readFlags(); });
    return failure;
}

void Reachability::flagsDidArrive(SCNetworkReachabilityFlags flags) const
{
    {
        std::lock_guard lock(m_mutex);
        if (m_flags == flags)
            return;
        m_flags = flags;
    }
    notifyReachabilityChanged();
}

void Reachability::notifyReachabilityChanged() const
{
    std::weak_ptr<const Reachability> weak = std::static_pointer_cast<const Reachability>(shared_from_this());
    auto announce = [weak] {
        auto self = std::const_pointer_cast<Reachability>(weak.lock());
        if (!self)
            return;
        auto closure = self->connection() != Connection::unavailable ? self->whenReachable() : self->whenUnreachable();
        if (closure)
            closure(*self);
        self->notificationCenter()->post(reachabilityChanged(), self);
    };
    if (m_notificationQueue)
        m_notificationQueue->async(announce);
    else
        announce();
}

Reachability::Connection Reachability::connection() const
{
    bool unread;
    {
        std::lock_guard lock(m_mutex);
        unread = !m_flags;
    }
    // A failed read leaves the flags unknown, which answers unavailable below.
    if (unread)
        readFlagsAndWait();
    std::lock_guard lock(m_mutex);
    if (!m_flags || !m_flags->contains(SCNetworkReachabilityFlags::reachable()))
        return Connection::unavailable;
    if (m_flags->contains(SCNetworkReachabilityFlags::isWWAN()))
        return m_allowsCellularConnection ? Connection::cellular : Connection::unavailable;
    bool connectsAutomatically = (m_flags->contains(SCNetworkReachabilityFlags::connectionOnTraffic())
                                  || m_flags->contains(SCNetworkReachabilityFlags::connectionOnDemand()))
        && !m_flags->contains(SCNetworkReachabilityFlags::interventionRequired());
    if (m_flags->contains(SCNetworkReachabilityFlags::connectionRequired()) && !connectsAutomatically)
        return Connection::unavailable;
    return Connection::wifi;
}

std::string Reachability::currentReachabilityString() const
{
    return Basalwork::description(connection());
}

bool Reachability::isReachable() const
{
    return connection() != Connection::unavailable;
}

bool Reachability::isReachableViaWiFi() const
{
    return connection() == Connection::wifi;
}

bool Reachability::isReachableViaWWAN() const
{
    return connection() == Connection::cellular;
}

std::string Reachability::description() const
{
    std::lock_guard lock(m_mutex);
    if (!m_flags)
        return "unavailable flags";
    auto mark = [&](SCNetworkReachabilityFlags flag, char letter) { return m_flags->contains(flag) ? letter : '-'; };
    return std::string {
        mark(SCNetworkReachabilityFlags::isWWAN(), 'W'),
        mark(SCNetworkReachabilityFlags::reachable(), 'R'),
        ' ',
        mark(SCNetworkReachabilityFlags::connectionRequired(), 'c'),
        mark(SCNetworkReachabilityFlags::transientConnection(), 't'),
        mark(SCNetworkReachabilityFlags::interventionRequired(), 'i'),
        mark(SCNetworkReachabilityFlags::connectionOnTraffic(), 'C'),
        mark(SCNetworkReachabilityFlags::connectionOnDemand(), 'D'),
        mark(SCNetworkReachabilityFlags::isLocalAddress(), 'l'),
        mark(SCNetworkReachabilityFlags::isDirect(), 'd'),
    };
}

} // namespace Basalwork
