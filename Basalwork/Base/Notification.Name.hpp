#pragma once

#include "Platform/Foundation/Notification.hpp"

namespace Basalwork {

// Posted by a Reachability, as the sender, each time its connection may have changed.
const Foundation::Notification::Name& reachabilityChanged();
// Exported for callers that look for it by this name; nothing posts it.
const Foundation::Notification::Name& ReachabilityChangedNotification();

} // namespace Basalwork
