#include "Platform/Foundation/DispatchSemaphore.hpp"

#include "Platform/Foundation/Clock.hpp"

#include <chrono>

namespace Foundation {

void DispatchSemaphore::signal()
{
    {
        std::lock_guard lock(m_mutex);
        ++m_value;
    }
    m_signalled.notify_one();
}

void DispatchSemaphore::wait()
{
    std::unique_lock lock(m_mutex);
    m_signalled.wait(lock, [&] { return m_value > 0; });
    --m_value;
}

DispatchTimeoutResult DispatchSemaphore::wait(DispatchTime timeout)
{
    std::unique_lock lock(m_mutex);
    double remaining = timeout.uptime - Clock::uptime();
    if (!m_signalled.wait_for(lock, std::chrono::duration<double>(remaining > 0 ? remaining : 0),
                              [&] { return m_value > 0; }))
        return DispatchTimeoutResult::timedOut;
    --m_value;
    return DispatchTimeoutResult::success;
}

} // namespace Foundation
