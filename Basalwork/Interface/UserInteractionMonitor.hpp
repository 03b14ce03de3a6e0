#pragma once

#include "Basalwork/Interface/UserInteractionMonitorDelegate.hpp"

#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Timer.hpp"

#include <memory>
#include <optional>

namespace Basalwork {

// Listens for `uiInteractionDidOccur` and tells its delegate when no interaction has come for the
// threshold interval. Each interaction restarts a one-shot timer, but interactions less than a second after
// the last one that counted are ignored: the deadline may be up to a second early, which is far cheaper
// than restarting a timer for every event. Main thread only.
class UserInteractionMonitor : public Foundation::NSObject {
public:
    ~UserInteractionMonitor() override;

    std::shared_ptr<UserInteractionMonitorDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<UserInteractionMonitorDelegate>& delegate) { m_delegate = delegate; }

    virtual void uiInteractionDidOccur();
    // Starts the threshold over; without a threshold the monitor stays idle.
    virtual void restartTimer();
    virtual void inactivityThresholdExceeded();
    // Restarts the timer only when the threshold changes; no threshold stops it.
    virtual void set(std::optional<double> inactivityThresholdInterval);

protected:
    friend Foundation::Construct;
    // Nothing runs until the first interaction or the first change of the threshold.
    UserInteractionMonitor(std::optional<double> inactivityThresholdInterval,
                           const std::shared_ptr<UserInteractionMonitorDelegate>& delegate);
    void initialize() override;

private:
    std::weak_ptr<UserInteractionMonitorDelegate> m_delegate;
    std::optional<double> m_inactivityThresholdInterval;
    std::shared_ptr<Foundation::Timer> m_inactivityTimer;
    Foundation::Date m_lastInteractionOccuredAt = Foundation::Date::distantPast();
};

} // namespace Basalwork
