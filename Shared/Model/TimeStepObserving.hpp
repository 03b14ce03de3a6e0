#pragma once

namespace Shared {

class TimeStepNotifier;

// Told when a new time step of the notifier's one-time password begins: the code has changed.
class TimeStepObserving {
public:
    virtual ~TimeStepObserving() = default;
    virtual void timeStepNotifierDidBeginTimeStep(TimeStepNotifier& notifier) = 0;
};

} // namespace Shared
