#pragma once

#include "Shared/Model/TOTP.hpp"

#include "Platform/Foundation/NSObject.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace Foundation {
class Timer;
}

namespace Shared {

class TimeStepObserving;

// Tells its observers when a period of its one-time password ends on the clock, so whatever shows the
// code can show the next one exactly then and not before. Without a password, or with an invalid
// secret, nothing fires. Main thread only; observers are held weakly.
class TimeStepNotifier : public Foundation::NSObject {
public:
    const std::optional<TOTP>& totp() const { return m_totp; }
    // Starts counting the new password's periods from now.
    void setTOTP(std::optional<TOTP> totp);

    void addObserver(const std::shared_ptr<TimeStepObserving>& observer);
    void removeObserver(const TimeStepObserving& observer);

    // Seconds left of the current period; nothing without a valid password.
    std::optional<double> secondsRemaining() const;
    // The period the current date falls in, counted from 1970 as the codes count it.
    std::optional<std::int64_t> currentTimeStep() const;

    ~TimeStepNotifier() override;

protected:
    friend Foundation::Construct;
    TimeStepNotifier() = default;

private:
    void scheduleNextBoundary();
    void timerDidFire();

    std::optional<TOTP> m_totp;
    std::optional<std::int64_t> m_timeStep;
    std::shared_ptr<Foundation::Timer> m_timer;
    std::vector<std::weak_ptr<TimeStepObserving>> m_observers;
};

} // namespace Shared
