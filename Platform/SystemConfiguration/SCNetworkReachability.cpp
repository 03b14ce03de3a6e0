#include "Platform/SystemConfiguration/SCNetworkReachability.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/SystemConfiguration/NetworkMonitor.hpp"
#include "Platform/SystemConfiguration/SCError.hpp"

#include <arpa/inet.h>
#include <cstring>

namespace SystemConfiguration {

SCNetworkReachability::SCNetworkReachability(std::string target)
    : m_target(std::move(target))
{
}

SCNetworkReachability::~SCNetworkReachability()
{
    NetworkMonitor::unschedule(this);
}

std::shared_ptr<SCNetworkReachability> SCNetworkReachability::createWithName(const char* nodename)
{
    if (!nodename || !*nodename) {
        detail::setSCError(kSCStatusInvalidArgument);
        return nullptr;
    }
    return Foundation::make<SCNetworkReachability>(std::string("name = ") + nodename);
}

std::shared_ptr<SCNetworkReachability> SCNetworkReachability::createWithAddress(const sockaddr& address)
{
    char text[INET6_ADDRSTRLEN] = {};
    if (address.sa_family == AF_INET) {
        sockaddr_in ipv4;
        std::memcpy(&ipv4, &address, sizeof ipv4);
        inet_ntop(AF_INET, &ipv4.sin_addr, text, sizeof text);
    } else {
        // An IPv6 address does not fit in a plain sockaddr; only IPv4 ones can be handed over this way.
        detail::setSCError(kSCStatusInvalidArgument);
        return nullptr;
    }
    return Foundation::make<SCNetworkReachability>(std::string("address = ") + text);
}

bool SCNetworkReachability::getFlags(SCNetworkReachabilityFlags& flags) const
{
    auto reading = NetworkMonitor::read();
    if (!reading.flags) {
        detail::setSCError(reading.status);
        return false;
    }
    flags = *reading.flags;
    return true;
}

bool SCNetworkReachability::setCallback(Callback callback, const SCNetworkReachabilityContext* context)
{
    std::lock_guard lock(m_mutex);
    m_callback = std::move(callback);
    if (m_callback && context)
        m_context = *context;
    else
        m_context.reset();
    return true;
}

bool SCNetworkReachability::setDispatchQueue(std::shared_ptr<Foundation::DispatchQueue> queue)
{
    bool scheduled = queue != nullptr;
    if (scheduled) {
        // Changes count from what the flags are now.
        auto reading = NetworkMonitor::read();
        std::lock_guard lock(m_mutex);
        m_lastFlags = reading.flags;
        m_queue = std::move(queue);
    } else {
        std::lock_guard lock(m_mutex);
        m_queue.reset();
    }
    if (scheduled)
        NetworkMonitor::schedule(sharedSelf(this));
    else
        NetworkMonitor::unschedule(this);
    return true;
}

void SCNetworkReachability::deliverIfChanged(SCNetworkReachabilityFlags flags)
{
    std::lock_guard lock(m_mutex);
    if (!m_queue || !m_callback || m_lastFlags == flags)
        return;
    m_lastFlags = flags;
    m_queue->async([target = sharedSelf(this), callback = m_callback, info = m_context ? m_context->info : nullptr, flags] {
        callback(*target, flags, info);
    });
}

std::string SCNetworkReachability::description() const
{
    std::string text = Foundation::NSObject::description() + " {" + m_target;
    std::lock_guard lock(m_mutex);
    if (m_context && m_context->copyDescription)
        text += ", context = " + m_context->copyDescription(m_context->info);
    return text + "}";
}

void SCNetworkReachability::simulateFlags(std::optional<SCNetworkReachabilityFlags> flags)
{
    NetworkMonitor::simulateFlags(flags);
}

void SCNetworkReachability::simulateFailure(std::optional<std::int32_t> status)
{
    NetworkMonitor::simulateFailure(status);
}

} // namespace SystemConfiguration
