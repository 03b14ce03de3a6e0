#include "Shared/Model/DispatchQueue.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

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

struct ConcurrentPipeline::State {
    std::mutex mutex;
    std::condition_variable finished;
    std::deque<std::function<void()>> waiting;
    std::size_t unfinished = 0;
    std::exception_ptr failure;

    // Runs one waiting piece; false when none waits.
    bool runOne()
    {
        std::function<void()> piece;
        {
            std::lock_guard lock(mutex);
            if (waiting.empty())
                return false;
            piece = std::move(waiting.front());
            waiting.pop_front();
        }
        std::exception_ptr thrown;
        try {
            piece();
        } catch (...) {
            thrown = std::current_exception();
        }
        piece = nullptr;
        std::lock_guard lock(mutex);
        if (thrown && !failure)
            failure = thrown;
        if (--unfinished == 0)
            finished.notify_all();
        return true;
    }

    void wait()
    {
        while (runOne()) {
        }
        std::unique_lock lock(mutex);
        finished.wait(lock, [&] { return unfinished == 0; });
    }
};

ConcurrentPipeline::ConcurrentPipeline()
    : m_state(std::make_shared<State>())
{
}

ConcurrentPipeline::~ConcurrentPipeline()
{
    m_state->wait();
}

void ConcurrentPipeline::add(std::function<void()> piece)
{
    {
        std::lock_guard lock(m_state->mutex);
        m_state->waiting.push_back(std::move(piece));
        ++m_state->unfinished;
    }
    // One offer per piece: a worker that comes late finds the piece taken and does nothing.
    Foundation::DispatchQueue::global()->async([state = m_state] { state->runOne(); });
}

void ConcurrentPipeline::finish()
{
    m_state->wait();
    std::lock_guard lock(m_state->mutex);
    if (auto failure = std::exchange(m_state->failure, nullptr))
        std::rethrow_exception(failure);
}

} // namespace Shared
