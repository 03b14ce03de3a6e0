#pragma once

namespace Corvendale {

class InAppNotificationV;

// Hears that the user swiped or scrolled the banner away.
class InAppNotificationVDelegate {
public:
    virtual ~InAppNotificationVDelegate() = default;
    virtual void inAppNotificationVDidPanOrScrollUp(InAppNotificationV& view) = 0;
};

} // namespace Corvendale
