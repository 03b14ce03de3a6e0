#include "Shared/DispatchQueue.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

namespace Shared {
namespace {

// Shared with the helpers, which may start after the work is done and must then find nothing to do.
struct Run {
    std::size_t iterations = 0;
    std::size_t batch = 1;
    const std::function<void(std::size_t)>* work = nullptr;
    std::atomic<std::size_t> next {0};
    std::atomic<std::size_t> done {0};
    std::mutex mutex;
    std::condition_variable finished;
    std::exception_ptr failure;

    void perform()
    {
        while (true) {
            const auto start = next.fetch_add(batch);
            if (start >= iterations)
                return;
            const auto end = std::min(start + batch, iterations);
            try {
                for (auto i = start; i < end; ++i)
                    (*work)(i);
            } catch (...) {
                std::lock_guard lock(mutex);
                if (!failure)
                    failure = std::current_exception();
            }
            if (done.fetch_add(end - start) + (end - start) == iterations) {
                std::lock_guard lock(mutex);
                finished.notify_all();
            }
        }
    }
};

} // namespace

void concurrentPerform(std::size_t iterations, const std::function<void(std::size_t)>& work)
{
    const std::size_t threads = std::max(1u, std::thread::hardware_concurrency());
    if (threads <= 1 || iterations <= 1) {
        for (std::size_t i = 0; i < iterations; ++i)
            work(i);
        return;
    }
    // Small batches taken in turn, so that a worker the machine holds back delays no one; the caller
    // works too instead of waiting.
    auto run = std::make_shared<Run>();
    run->iterations = iterations;
    run->batch = std::max<std::size_t>(1, iterations / (threads * 8));
    run->work = &work;
    const auto helpers = std::min(threads, (iterations + run->batch - 1) / run->batch) - 1;
    for (std::size_t helper = 0; helper < helpers; ++helper)
        Foundation::DispatchQueue::global()->async([run] { run->perform(); });
    run->perform();
    std::unique_lock lock(run->mutex);
    run->finished.wait(lock, [&] { return run->done.load() == iterations; });
    if (run->failure)
        std::rethrow_exception(run->failure);
}

} // namespace Shared
