#include "Platform/Foundation/DispatchSemaphore.hpp"

#include "Platform/Foundation/Clock.hpp"
#include "Platform/Foundation/WorkerPool.hpp"

#include <algorithm>
#include <chrono>

namespace Foundation {
namespace {

constexpr double maximumWaitStep = 3600;

} // namespace

void DispatchSemaphore::signal()
{
    // Notified under the lock: a waiter may destroy the semaphore as soon as its wait returns.
    std::lock_guard lock(m_mutex);
    ++m_value;
    m_signalled.notify_one();
}

void DispatchSemaphore::wait()
{
    WorkerPool::BlockingScope blocking;
    std::unique_lock lock(m_mutex);
    m_signalled.wait(lock, [&] { return m_value > 0; });
    --m_value;
}

DispatchTimeoutResult DispatchSemaphore::wait(DispatchTime timeout)
{
    WorkerPool::BlockingScope blocking;
    std::unique_lock lock(m_mutex);
    for (;;) {
        // The system clock cannot hold a far deadline (the distant future), so the wait goes in steps.
        double remaining = timeout.uptime - Clock::uptime();
        double step = remaining > 0 ? std::min(remaining, maximumWaitStep) : 0;
        if (m_signalled.wait_for(lock, std::chrono::duration<double>(step), [&] { return m_value > 0; })) {
            --m_value;
            return DispatchTimeoutResult::success;
        }
        if (!(remaining > maximumWaitStep))
            return DispatchTimeoutResult::timedOut;
    }
}

} // namespace Foundation
