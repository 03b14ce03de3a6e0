#pragma once

#include "Basalwork/Base/Reachability.hpp"

#include <string>

namespace Basalwork {

// An older form of the connection state, kept for callers that name it; nothing returns it.
enum class Reachability::NetworkStatus { notReachable, reachableViaWiFi, reachableViaWWAN };

// notReachable "No Connection", reachableViaWiFi "WiFi", reachableViaWWAN "Cellular"
std::string description(Reachability::NetworkStatus status);

} // namespace Basalwork
