#pragma once

namespace Basalwork {

class UserInteractionMonitor;

// Told when the user has been inactive for the monitor's threshold; the owner decides what that means
// (the application locks itself).
class UserInteractionMonitorDelegate {
public:
    virtual ~UserInteractionMonitorDelegate() = default;
    virtual void didExceedInactivityTimeoutThreshold(UserInteractionMonitor& monitor) = 0;
};

} // namespace Basalwork
