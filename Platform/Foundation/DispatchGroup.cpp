#include "Platform/Foundation/DispatchGroup.hpp"

#include "Platform/Foundation/Clock.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/WorkerPool.hpp"

#include <algorithm>
#include <chrono>

namespace Foundation {
namespace {

constexpr double maximumWaitStep = 3600;

} // namespace

void DispatchGroup::enter()
{
    std::lock_guard lock(m_mutex);
    ++m_count;
}

void DispatchGroup::leave()
{
    decltype(m_notifications) notifications;
    {
        std::lock_guard lock(m_mutex);
        precondition(m_count > 0, "Unbalanced call to DispatchGroup.leave()");
        if (--m_count > 0)
            return;
        notifications.swap(m_notifications);
        // Notified under the lock: a waiter may destroy the group as soon as its wait returns.
        m_emptied.notify_all();
    }
    for (auto& [queue, work] : notifications)
        queue->async(std::move(work));
}

void DispatchGroup::wait()
{
    WorkerPool::BlockingScope blocking;
    std::unique_lock lock(m_mutex);
    m_emptied.wait(lock, [&] { return m_count == 0; });
}

DispatchTimeoutResult DispatchGroup::wait(DispatchTime timeout)
{
    WorkerPool::BlockingScope blocking;
    std::unique_lock lock(m_mutex);
    for (;;) {
        // The system clock cannot hold a far deadline (the distant future), so the wait goes in steps.
        double remaining = timeout.uptime - Clock::uptime();
        double step = remaining > 0 ? std::min(remaining, maximumWaitStep) : 0;
        if (m_emptied.wait_for(lock, std::chrono::duration<double>(step), [&] { return m_count == 0; }))
            return DispatchTimeoutResult::success;
        if (!(remaining > maximumWaitStep))
            return DispatchTimeoutResult::timedOut;
    }
}

void DispatchGroup::notify(const std::shared_ptr<DispatchQueue>& queue, std::function<void()> work)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_count > 0) {
            m_notifications.emplace_back(queue, std::move(work));
            return;
        }
    }
    queue->async(std::move(work));
}

} // namespace Foundation
