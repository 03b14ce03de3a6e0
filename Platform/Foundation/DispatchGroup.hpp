#pragma once

#include "Platform/Foundation/DispatchTime.hpp"
#include "Platform/Foundation/NSObject.hpp"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace Foundation {

class DispatchQueue;

// Counts outstanding work; waiters and notifications proceed when the count returns to zero.
class DispatchGroup : public NSObject {
public:
    void enter();
    void leave(); // more leaves than enters stops the program
    void wait();
    DispatchTimeoutResult wait(DispatchTime timeout);
    void notify(const std::shared_ptr<DispatchQueue>& queue, std::function<void()> work);

protected:
    friend Construct;
    DispatchGroup() = default;

private:
    std::mutex m_mutex;
    std::condition_variable m_emptied;
    std::int64_t m_count = 0;
    std::vector<std::pair<std::shared_ptr<DispatchQueue>, std::function<void()>>> m_notifications;
};

} // namespace Foundation
