#include "Platform/Foundation/DispatchScheduler.hpp"

#include "Platform/Foundation/Clock.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/DispatchWorkItem.hpp"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <queue>
#include <thread>
#include <vector>

namespace Foundation {
namespace {

struct Entry {
    double deadline;
    std::uint64_t sequence; // keeps submissions with equal deadlines in order
    std::shared_ptr<DispatchQueue> queue;
    std::shared_ptr<DispatchWorkItem> item;
    bool operator>(const Entry& other) const
    {
        return deadline != other.deadline ? deadline > other.deadline : sequence > other.sequence;
    }
};

struct State {
    std::mutex mutex;
    std::condition_variable changed;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> entries;
    std::uint64_t nextSequence = 0;
    bool threadStarted = false;
};

State& state()
{
    static auto* instance = new State;
    return *instance;
}

// Cancelled work (an invalidated timer, a restarted one) need not wait for its deadline to be forgotten.
void dropCancelledFront(State& s)
{
    while (!s.entries.empty() && s.entries.top().item->isCancelled())
        s.entries.pop();
}

std::vector<Entry> takeDue(State& s, double now)
{
    dropCancelledFront(s);
    std::vector<Entry> due;
    while (!s.entries.empty() && s.entries.top().deadline <= now) {
        due.push_back(s.entries.top());
        s.entries.pop();
    }
    return due;
}

void submit(std::vector<Entry>& due)
{
    for (auto& entry : due)
        entry.queue->async(entry.item);
}

void realClockLoop()
{
    auto& s = state();
    for (;;) {
        std::vector<Entry> due;
        {
            std::unique_lock lock(s.mutex);
            dropCancelledFront(s);
            if (s.entries.empty() || Clock::isManual()) {
                s.changed.wait(lock);
                continue;
            }
            double deadline = s.entries.top().deadline;
            double now = Clock::uptime();
            if (deadline > now) {
                // The steady clock cannot hold a far deadline (the distant future); wake hourly to look again.
                auto wake = std::chrono::steady_clock::time_point(
                    std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                        std::chrono::duration<double>(std::min(deadline, now + 3600))));
                s.changed.wait_until(lock, wake);
                continue;
            }
            // Handed over under the lock, or a turn of the main loop could hand later work over first.
            due = takeDue(s, now);
            submit(due);
        }
    }
}

} // namespace

void DispatchScheduler::schedule(double deadlineUptime, std::shared_ptr<DispatchQueue> queue,
                                 std::shared_ptr<DispatchWorkItem> item)
{
    auto& s = state();
    {
        std::lock_guard lock(s.mutex);
        s.entries.push({deadlineUptime, s.nextSequence++, std::move(queue), std::move(item)});
        if (!s.threadStarted && !Clock::isManual()) {
            s.threadStarted = true;
            std::thread(realClockLoop).detach();
        }
    }
    s.changed.notify_all();
}

bool DispatchScheduler::fireDue()
{
    auto& s = state();
    std::vector<Entry> due;
    {
        std::lock_guard lock(s.mutex);
        due = takeDue(s, Clock::uptime());
        submit(due);
    }
    return !due.empty();
}

std::optional<double> DispatchScheduler::nextDeadline()
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    dropCancelledFront(s);
    if (s.entries.empty())
        return std::nullopt;
    return s.entries.top().deadline;
}

} // namespace Foundation
