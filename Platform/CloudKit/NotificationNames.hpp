#pragma once

#include "Platform/Foundation/Notification.hpp"

namespace CloudKit {

// Notification names the service posts on the default centre.
struct NotificationNames {
    // The signed-in account changed (signed in, out, or another one); posted with no object.
    static Foundation::Notification::Name CKAccountChanged()
    {
        return Foundation::Notification::Name("CKAccountChangedNotification");
    }
};

} // namespace CloudKit
