#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/PropertyListValue.hpp"

#include <functional>
#include <memory>

namespace CloudKit {

// Where pushes reach a running program. A push is sent when a change batch that another process (or
// another machine, through a shared folder) wrote appears in a database this process has opened; its
// payload is what `CKNotification::fromRemoteNotificationDictionary` reads. Handlers run on the main
// queue. This is what the application's remote-notification delivery is connected to.
struct PushDelivery {
    using Handler = std::function<void(const Foundation::PropertyListValue::Dictionary& userInfo)>;

    // The handler stays until the token is passed to `removeHandler`.
    static std::shared_ptr<Foundation::NSObject> addHandler(Handler handler);
    static void removeHandler(const std::shared_ptr<Foundation::NSObject>& token);
};

} // namespace CloudKit
