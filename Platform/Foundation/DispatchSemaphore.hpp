#pragma once

#include "Platform/Foundation/DispatchTime.hpp"
#include "Platform/Foundation/NSObject.hpp"

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace Foundation {

class DispatchSemaphore : public NSObject {
public:
    void signal();
    void wait();
    // On the manual clock the remaining time is still waited in real time; tests use the untimed form.
    DispatchTimeoutResult wait(DispatchTime timeout);

protected:
    friend Construct;
    explicit DispatchSemaphore(std::int64_t value)
        : m_value(value)
    {
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_signalled;
    std::int64_t m_value;
};

} // namespace Foundation
