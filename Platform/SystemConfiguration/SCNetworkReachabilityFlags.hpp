#pragma once

#include "Platform/Foundation/OptionSet.hpp"

#include <cstdint>

namespace SystemConfiguration {

// How a target can be reached, as the platform's flag word; `{}` is none.
struct SCNetworkReachabilityFlags : Foundation::OptionSet<SCNetworkReachabilityFlags, std::uint32_t> {
    static constexpr SCNetworkReachabilityFlags transientConnection() { return {1u << 0}; }
    static constexpr SCNetworkReachabilityFlags reachable() { return {1u << 1}; }
    static constexpr SCNetworkReachabilityFlags connectionRequired() { return {1u << 2}; }
    static constexpr SCNetworkReachabilityFlags connectionOnTraffic() { return {1u << 3}; }
    static constexpr SCNetworkReachabilityFlags interventionRequired() { return {1u << 4}; }
    static constexpr SCNetworkReachabilityFlags connectionOnDemand() { return {1u << 5}; }
    static constexpr SCNetworkReachabilityFlags isLocalAddress() { return {1u << 16}; }
    static constexpr SCNetworkReachabilityFlags isDirect() { return {1u << 17}; }
    static constexpr SCNetworkReachabilityFlags isWWAN() { return {1u << 18}; }
};

} // namespace SystemConfiguration
