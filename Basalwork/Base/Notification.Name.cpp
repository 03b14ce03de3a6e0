#include "Basalwork/Base/Notification.Name.hpp"

namespace Basalwork {

const Foundation::Notification::Name& reachabilityChanged()
{
    static const auto& name = *new Foundation::Notification::Name("reachabilityChanged");
    return name;
}

const Foundation::Notification::Name& ReachabilityChangedNotification()
{
    static const auto& name = *new Foundation::Notification::Name("ReachabilityChangedNotification");
    return name;
}

} // namespace Basalwork
