#pragma once

#include "Platform/SystemConfiguration/SCNetworkReachabilityFlags.hpp"

#include <cstdint>
#include <memory>
#include <optional>

namespace SystemConfiguration {

class SCNetworkReachability;

// The machine's connection as the targets see it, and the one watcher of interface and address changes
// (a route netlink socket on a thread of its own, started when the first target is scheduled).
class NetworkMonitor {
public:
    // The current flags, or the status of the failure.
    struct Reading {
        std::optional<SCNetworkReachabilityFlags> flags;
        std::int32_t status;
    };
    static Reading read();

    static void schedule(const std::shared_ptr<SCNetworkReachability>& target);
    static void unschedule(const SCNetworkReachability* target);

    static void simulateFlags(std::optional<SCNetworkReachabilityFlags> flags);
    static void simulateFailure(std::optional<std::int32_t> status);

private:
    static void startWatching();
    // Reads the flags once and offers them to every scheduled target.
    static void deliverToScheduledTargets();
};

} // namespace SystemConfiguration
