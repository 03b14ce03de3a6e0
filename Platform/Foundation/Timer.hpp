#pragma once

#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/NSObject.hpp"

#include <functional>
#include <memory>

namespace Foundation {

class DispatchWorkItem;
class RunLoop;

// Calls its block on the main run loop when its fire date comes: once, or every interval until it is
// invalidated. `make<Timer>(interval, repeats, block)` makes a timer that waits for `RunLoop::add`;
// `scheduledTimer` adds it at once. The run loop holds a scheduled timer until it is invalidated, so the
// caller need not keep it. A repeating timer keeps to the grid of its first fire date: a late turn of the
// loop fires it once and the next fire date stays on the grid.
class Timer : public NSObject {
public:
    using Block = std::function<void(Timer&)>;

    static std::shared_ptr<Timer> scheduledTimer(double withTimeInterval, bool repeats, Block block);

    Date fireDate() const { return m_fireDate; }
    bool isValid() const { return m_isValid; }
    // Calls the block now without moving the schedule; a one-shot timer is invalidated by it.
    void fire();
    // Stops the timer for good and lets go of its block.
    void invalidate();

protected:
    friend Construct;
    Timer(double interval, bool repeats, Block block);

private:
    friend class RunLoop;
    void schedule();
    void submitNextFire();
    void fireOnSchedule();
    void callBlock();

    double m_interval;
    bool m_repeats;
    Block m_block;
    bool m_isValid = true;
    bool m_isScheduled = false;
    // The first fire date on both clocks, and how many intervals the next fire lies beyond it.
    Date m_firstFireDate;
    double m_firstDeadline;
    double m_fireIndex = 0;
    Date m_fireDate;
    std::weak_ptr<DispatchWorkItem> m_pendingFire;
};

} // namespace Foundation
