#pragma once

#include <cstddef>
#include <functional>

namespace Foundation {

// The threads behind every queue but the main one. At most `activeLimit()` of them run work at once
// (one per core); a worker that waits inside a dispatch wait (a semaphore, a group, `sync`, an
// operation) does not count while it waits, so work that blocks waiting for other work cannot starve
// the pool. A worker that finds nothing to do for `idleTimeout()` retires.
class WorkerPool {
public:
    static WorkerPool& shared();
    void submit(std::function<void()> task);

    // The number of cores, at least two.
    std::size_t activeLimit() const;
    std::size_t threadCount() const;
    // The most threads alive at once since the last reset.
    std::size_t peakThreadCount() const;
    void resetPeakThreadCount();

    // Real seconds, not the clock's: retiring threads is the process's own housekeeping, which the
    // manual clock of tests must not hold up. Five seconds unless changed.
    double idleTimeout() const;
    void setIdleTimeout(double seconds);
    // Waits for at most `realSeconds` until no more than `count` threads are alive; false when time ran out.
    bool waitForThreadCount(std::size_t atMost, double realSeconds) const;
    // Waits for at most `realSeconds` until no task is queued and every worker is idle; false when time
    // ran out. A worker waiting for other work counts as busy.
    bool waitUntilIdle(double realSeconds) const;

    // Marks the calling thread, when it is a worker, as waiting for other work while the scope lasts,
    // so that the pool may start a worker in its place.
    class BlockingScope {
    public:
        BlockingScope();
        ~BlockingScope();
        BlockingScope(const BlockingScope&) = delete;
        BlockingScope& operator=(const BlockingScope&) = delete;

    private:
        bool m_counted;
    };

private:
    WorkerPool() = default;
    void startWorker();
    void workerLoop();
    struct State;
    State& state() const;
};

} // namespace Foundation
