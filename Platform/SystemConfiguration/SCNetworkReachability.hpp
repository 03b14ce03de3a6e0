#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/SystemConfiguration/SCNetworkReachabilityContext.hpp"
#include "Platform/SystemConfiguration/SCNetworkReachabilityFlags.hpp"

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include <netinet/in.h>
#include <sys/socket.h>

namespace Foundation {
class DispatchQueue;
}

namespace SystemConfiguration {

// A host name or address whose reachability is watched. There is no route lookup per target: every
// target answers for the machine's connection as a whole, read from its network interfaces (an
// interface that is up and running, not loopback, with a routable address makes it reachable; when all
// such interfaces are mobile-broadband ones the link is WWAN). Once both a callback and a dispatch queue
// are set, the callback runs on that queue whenever the flags change.
class SCNetworkReachability : public Foundation::NSObject {
public:
    using Callback = std::function<void(SCNetworkReachability& target, SCNetworkReachabilityFlags flags,
                                        const std::shared_ptr<Foundation::NSObject>& info)>;

    ~SCNetworkReachability() override;

    // Nothing, with SCError() set, for an empty name. The name is not resolved.
    static std::shared_ptr<SCNetworkReachability> createWithName(const char* nodename);
    // Nothing, with SCError() set, for an address that is not IPv4 (a plain sockaddr holds no other).
    static std::shared_ptr<SCNetworkReachability> createWithAddress(const sockaddr& address);

    // False, with SCError() set, when the flags cannot be read.
    bool getFlags(SCNetworkReachabilityFlags& flags) const;
    // A null callback removes the callback and its context.
    bool setCallback(Callback callback, const SCNetworkReachabilityContext* context);
    // A null queue stops delivery.
    bool setDispatchQueue(std::shared_ptr<Foundation::DispatchQueue> queue);

    std::string description() const override;

    // Test hooks, process-wide. Simulated flags replace what the interfaces say (nothing goes back to
    // them) and are delivered to every scheduled target whose flags they change; a simulated failure
    // makes every flag read fail with that status.
    static void simulateFlags(std::optional<SCNetworkReachabilityFlags> flags);
    static void simulateFailure(std::optional<std::int32_t> status);

protected:
    friend Foundation::Construct;
    explicit SCNetworkReachability(std::string target);

private:
    friend class NetworkMonitor;
    // Runs the callback on the queue when `flags` differ from those last seen by this target.
    void deliverIfChanged(SCNetworkReachabilityFlags flags);

    std::string m_target;
    mutable std::mutex m_mutex;
    Callback m_callback;
    std::optional<SCNetworkReachabilityContext> m_context;
    std::shared_ptr<Foundation::DispatchQueue> m_queue;
    std::optional<SCNetworkReachabilityFlags> m_lastFlags;
};

} // namespace SystemConfiguration
