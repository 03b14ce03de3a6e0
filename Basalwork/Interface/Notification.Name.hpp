#pragma once

#include "Platform/Foundation/Notification.hpp"

namespace Basalwork {

// Posted at most about once a second while the user interacts with the application.
const Foundation::Notification::Name& uiInteractionDidOccur();

} // namespace Basalwork
