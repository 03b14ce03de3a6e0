#include "Platform/Foundation/Timer.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/DispatchTime.hpp"
#include "Platform/Foundation/DispatchWorkItem.hpp"
#include "Platform/Foundation/RunLoop.hpp"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <unordered_set>

namespace Foundation {
namespace {

// An interval of zero would make a repeating timer spin; the platform keeps a tenth of a millisecond.
// Not-a-number gets the same, or it would poison the order of deadlines.
constexpr double minimumInterval = 0.0001;

double usableInterval(double interval)
{
    return interval > minimumInterval ? interval : minimumInterval;
}

// The timers the main run loop holds: scheduled and not yet invalidated.
struct ScheduledTimers {
    std::mutex mutex;
    std::unordered_set<std::shared_ptr<Timer>> timers;
};

ScheduledTimers& scheduledTimers()
{
    static auto* instance = new ScheduledTimers;
    return *instance;
}

} // namespace

Timer::Timer(double interval, bool repeats, Block block)
    : m_interval(usableInterval(interval))
    , m_repeats(repeats)
    , m_block(std::move(block))
    , m_firstFireDate(Date::now() + m_interval)
    , m_firstDeadline(DispatchTime::now().uptime + m_interval)
    , m_fireDate(m_firstFireDate)
{
}

std::shared_ptr<Timer> Timer::scheduledTimer(double withTimeInterval, bool repeats, Block block)
{
    auto timer = make<Timer>(withTimeInterval, repeats, std::move(block));
    RunLoop::current()->add(timer, RunLoop::Mode::default_());
    return timer;
}

void Timer::schedule()
{
    if (!m_isValid || m_isScheduled)
        return;
    m_isScheduled = true;
    {
        auto& scheduled = scheduledTimers();
        std::lock_guard lock(scheduled.mutex);
        scheduled.timers.insert(sharedSelf(this));
    }
    submitNextFire();
}

void Timer::submitNextFire()
{
    // The work item holds the timer weakly: a cancelled fire waiting for its deadline must not keep an
    // invalidated timer alive.
    std::weak_ptr<Timer> weak = sharedSelf(this);
    auto item = make<DispatchWorkItem>([weak] {
        if (auto timer = weak.lock())
            timer->fireOnSchedule();
    });
    m_pendingFire = item;
    DispatchQueue::main()->asyncAfter(DispatchTime {m_firstDeadline + m_fireIndex * m_interval}, item);
}

void Timer::fireOnSchedule()
{
    if (!m_isValid)
        return;
    auto keepAlive = sharedSelf(this); // invalidating inside the block drops the run loop's hold
    callBlock();
    if (!m_repeats) {
        invalidate();
        return;
    }
    if (!m_isValid)
        return;
    // The next fire date on the grid that is still ahead; fire dates missed by a late turn are skipped.
    double elapsed = DispatchTime::now().uptime - m_firstDeadline;
    m_fireIndex = std::max(m_fireIndex + 1, std::floor(elapsed / m_interval) + 1);
    m_fireDate = m_firstFireDate + m_fireIndex * m_interval;
    submitNextFire();
}

void Timer::fire()
{
    if (!m_isValid)
        return;
    auto keepAlive = sharedSelf(this);
    callBlock();
    if (!m_repeats)
        invalidate();
}

void Timer::callBlock()
{
    // A copy, so that the block may invalidate its own timer while it runs.
    auto block = m_block;
    if (block)
        block(*this);
}

void Timer::invalidate()
{
    if (!m_isValid)
        return;
    m_isValid = false;
    m_block = nullptr;
    if (auto pending = m_pendingFire.lock())
        pending->cancel();
    if (m_isScheduled) {
        auto& scheduled = scheduledTimers();
        std::shared_ptr<Timer> released;
        {
            std::lock_guard lock(scheduled.mutex);
            auto found = scheduled.timers.find(sharedSelf(this));
            if (found != scheduled.timers.end()) {
                released = *found; // destroyed after the lock is let go
                scheduled.timers.erase(found);
            }
        }
    }
}

} // namespace Foundation
