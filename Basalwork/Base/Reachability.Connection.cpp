#include "Basalwork/Base/Reachability.Connection.hpp"

namespace Basalwork {

std::string description(Reachability::Connection connection)
{
    switch (connection) {
    case Reachability::Connection::none: return "unavailable";
    case Reachability::Connection::unavailable: return "No Connection";
    case Reachability::Connection::wifi: return "WiFi";
    case Reachability::Connection::cellular: return "Cellular";
    }
    return "unavailable";
}

bool isWifiOrCellular(Reachability::Connection connection)
{
    return connection == Reachability::Connection::wifi || connection == Reachability::Connection::cellular;
}

} // namespace Basalwork
