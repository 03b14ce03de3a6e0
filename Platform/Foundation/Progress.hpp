#pragma once

#include "Platform/Foundation/NSObject.hpp"

#include <atomic>
#include <cstdint>

namespace Foundation {

// How far a piece of work has come, in units the work chooses. The counts may be updated on one thread
// and read on another (a reader on a work queue, a progress bar on the main thread).
class Progress : public NSObject {
public:
    std::int64_t totalUnitCount() const { return m_totalUnitCount.load(std::memory_order_relaxed); }
    void setTotalUnitCount(std::int64_t count) { m_totalUnitCount.store(count, std::memory_order_relaxed); }
    std::int64_t completedUnitCount() const { return m_completedUnitCount.load(std::memory_order_relaxed); }
    void setCompletedUnitCount(std::int64_t count) { m_completedUnitCount.store(count, std::memory_order_relaxed); }
    // Cancelling only marks the progress; the work that reports through it looks and stops itself.
    bool isCancelled() const { return m_cancelled.load(std::memory_order_relaxed); }
    void cancel() { m_cancelled.store(true, std::memory_order_relaxed); }

protected:
    friend Construct;
    explicit Progress(std::int64_t totalUnitCount)
        : m_totalUnitCount(totalUnitCount)
    {
    }

private:
    std::atomic<std::int64_t> m_totalUnitCount;
    std::atomic<std::int64_t> m_completedUnitCount {0};
    std::atomic<bool> m_cancelled {false};
};

} // namespace Foundation
