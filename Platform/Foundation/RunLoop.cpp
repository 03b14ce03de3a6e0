#include "Platform/Foundation/RunLoop.hpp"

#include "Platform/Foundation/Clock.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/DispatchScheduler.hpp"
#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/Foundation/Thread.hpp"
#include "Platform/Foundation/Timer.hpp"
#include "Platform/Foundation/WorkerPool.hpp"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

namespace Foundation {

namespace {

struct AwaitedWorkCount {
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t count = 0;
    std::uint64_t ended = 0;
};

AwaitedWorkCount& awaitedWork()
{
    // Never freed: work may end on a worker while the process exits.
    static auto* count = new AwaitedWorkCount;
    return *count;
}

} // namespace

class RunLoop::AwaitedWork {
public:
    AwaitedWork()
    {
        std::lock_guard lock(awaitedWork().mutex);
        ++awaitedWork().count;
    }
    ~AwaitedWork()
    {
        auto& work = awaitedWork();
        {
            std::lock_guard lock(work.mutex);
            --work.count;
            ++work.ended;
        }
        work.changed.notify_all();
    }
    AwaitedWork(const AwaitedWork&) = delete;
    AwaitedWork& operator=(const AwaitedWork&) = delete;
};

std::shared_ptr<const RunLoop::AwaitedWork> RunLoop::beginAwaitedWork()
{
    return std::make_shared<const AwaitedWork>();
}

void RunLoop::runUntilIdleAwaitingWork()
{
    auto& work = awaitedWork();
    for (;;) {
        runUntilIdle();
        std::unique_lock lock(work.mutex);
        if (work.count == 0) {
            // What the last of it queued may have arrived since the turns ended.
            if (DispatchQueue::main()->pendingItemCount() == 0)
                return;
            continue;
        }
        auto ended = work.ended;
        work.changed.wait(lock, [&] { return work.ended != ended; });
    }
}

const std::shared_ptr<RunLoop>& RunLoop::main()
{
    static auto* loop = new std::shared_ptr<RunLoop>(make<RunLoop>());
    return *loop;
}

bool RunLoop::runOnce()
{
    precondition(Thread::isMainThread(), "The main run loop turns only on the main thread");
    // The main loop fires deadlines itself on the manual clock; on the real clock the scheduler's thread
    // does, and firing here as well only makes due work run sooner.
    bool ran = DispatchScheduler::fireDue();
    auto& queue = *DispatchQueue::main();
    std::size_t queued = queue.pendingItemCount();
    for (std::size_t i = 0; i < queued; ++i)
        ran = queue.performNextMainItem() || ran;
    return ran;
}

void RunLoop::runUntilIdle()
{
    while (runOnce()) {
    }
}

void RunLoop::run()
{
    m_stopped = false;
    while (!m_stopped) {
        runUntilIdle();
        for (const auto& observer : m_beforeWaitingObservers)
            observer();
        if (m_stopped)
            break;
        double wait = 0.25;
        if (auto deadline = DispatchScheduler::nextDeadline())
            wait = std::clamp(*deadline - Clock::uptime(), 0.0, wait);
        DispatchQueue::main()->waitForMainWork(wait);
    }
}

bool RunLoop::runUntilBackgroundWorkEnds(double realSeconds)
{
    precondition(Thread::isMainThread(), "The main run loop turns only on the main thread");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(realSeconds);
    for (;;) {
        // Work that waits for the main queue (a `sync` onto it, a completion it awaits) ends only while
        // the main queue turns.
        runUntilIdle();
        if (WorkerPool::shared().waitUntilIdle(0.01) && DispatchQueue::main()->pendingItemCount() == 0)
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
    }
}

void RunLoop::endBackgroundWorkBeforeExit(int status, double realSeconds)
{
    if (runUntilBackgroundWorkEnds(realSeconds))
        return;
    static const Logger logger("Foundation", "RunLoop");
    logger.error("Work on the queues still ran %{public}@ ms after the main loop ended: the program ends without it",
                 std::to_string(static_cast<int>(realSeconds * 1000)));
    std::fflush(nullptr);
    std::_Exit(status);
}

void RunLoop::stop()
{
    m_stopped = true;
    // Wakes a loop that waits for work, so that it sees the stop at once.
    DispatchQueue::main()->async([] {});
}

void RunLoop::addBeforeWaitingObserver(std::function<void()> observer)
{
    precondition(Thread::isMainThread(), "The main run loop's observers are added on the main thread");
    m_beforeWaitingObservers.push_back(std::move(observer));
}

void RunLoop::add(const std::shared_ptr<Timer>& timer, const Mode&)
{
    if (timer)
        timer->schedule();
}

} // namespace Foundation
