#include "Basalwork/Base/Reachability.NetworkStatus.hpp"

namespace Basalwork {

std::string description(Reachability::NetworkStatus status)
{
    switch (status) {
    case Reachability::NetworkStatus::notReachable: return "No Connection";
    case Reachability::NetworkStatus::reachableViaWiFi: return "WiFi";
    case Reachability::NetworkStatus::reachableViaWWAN: return "Cellular";
    }
    return "No Connection";
}

} // namespace Basalwork
