#pragma once

#include "Basalwork/Base/Reachability.hpp"

#include <string>

namespace Basalwork {

// A connection worked out from flags is never `none`.
enum class Reachability::Connection { none, unavailable, wifi, cellular };

// none "unavailable", unavailable "No Connection", wifi "WiFi", cellular "Cellular"
std::string description(Reachability::Connection connection);
bool isWifiOrCellular(Reachability::Connection connection);

} // namespace Basalwork
