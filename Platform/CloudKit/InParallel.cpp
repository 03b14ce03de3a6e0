#include "Platform/CloudKit/InParallel.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/WorkerPool.hpp"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace CloudKit {

void inParallel(std::size_t count, const std::function<void(std::size_t)>& work)
{
    auto helpers = std::min(count, Foundation::WorkerPool::shared().activeLimit()) - (count > 0 ? 1 : 0);
    if (helpers == 0) {
        for (std::size_t index = 0; index < count; ++index)
            work(index);
        return;
    }
    struct Run {
        std::atomic<std::size_t> next {0};
        std::size_t done = 0;
        std::mutex mutex;
        std::condition_variable finished;
    };
    auto run = std::make_shared<Run>();
    // A helper that starts after every index was taken touches nothing of the caller's.
    auto perform = [run, count, &work] {
        for (std::size_t index; (index = run->next++) < count;) {
            work(index);
            std::lock_guard lock(run->mutex);
            if (++run->done == count)
                run->finished.notify_all();
        }
    };
    for (std::size_t helper = 0; helper < helpers; ++helper)
        Foundation::DispatchQueue::global()->async(perform);
    perform();
    Foundation::WorkerPool::BlockingScope waiting;
    std::unique_lock lock(run->mutex);
    run->finished.wait(lock, [&] { return run->done == count; });
}

} // namespace CloudKit
