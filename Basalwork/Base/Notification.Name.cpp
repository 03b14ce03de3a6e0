#include "Basalwork/Base/Notification.Name.hpp"

namespace Basalwork {

const Foundation::Notification::Name& reachabilityChanged()
{
    static const Foundation::Notification::Name name("reachabilityChanged");
    return name;
}

const Foundation::Notification::Name& ReachabilityChangedNotification()
{
    static const Foundation::Notification::Name name("ReachabilityChangedNotification");
    return name;
}

} // namespace Basalwork
