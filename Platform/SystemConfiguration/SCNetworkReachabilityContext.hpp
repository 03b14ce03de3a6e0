#pragma once

#include "Platform/Foundation/NSObject.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace SystemConfiguration {

// What a reachability target hands its callback. The target holds `info` for as long as the callback is
// set; shared ownership stands in for the platform's retain and release callbacks.
struct SCNetworkReachabilityContext {
    std::int64_t version = 0;
    std::shared_ptr<Foundation::NSObject> info;
    // Describes `info` inside the target's own description; none leaves it out.
    std::function<std::string(const std::shared_ptr<Foundation::NSObject>& info)> copyDescription;
};

} // namespace SystemConfiguration
