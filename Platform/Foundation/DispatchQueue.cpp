#include "Platform/Foundation/DispatchQueue.hpp"

#include "Platform/Foundation/Clock.hpp"
#include "Platform/Foundation/DispatchGroup.hpp"
#include "Platform/Foundation/DispatchScheduler.hpp"
#include "Platform/Foundation/DispatchWorkItem.hpp"
#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/Thread.hpp"
#include "Platform/Foundation/WorkerPool.hpp"

#include <array>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <future>
#include <mutex>
#include <vector>

namespace Foundation {
namespace {

// The queues whose items this thread is running now, innermost last (sync nests them).
thread_local std::vector<const DispatchQueue*> t_runningQueues;

class RunningOn {
public:
    explicit RunningOn(const DispatchQueue* queue) { t_runningQueues.push_back(queue); }
    ~RunningOn() { t_runningQueues.pop_back(); }
    RunningOn(const RunningOn&) = delete;
    RunningOn& operator=(const RunningOn&) = delete;
};

void runUncaught(const std::function<void()>& work, const std::string& label)
{
    try {
        work();
    } catch (const std::exception& exception) {
        fatalError("Uncaught exception on queue \"" + label + "\": " + exception.what());
    } catch (...) {
        fatalError("Uncaught exception on queue \"" + label + "\"");
    }
}

} // namespace

struct DispatchQueue::State {
    std::mutex mutex;
    std::condition_variable workArrived;
    std::deque<std::function<void()>> pending;
    bool draining = false;
};

DispatchQueue::DispatchQueue(std::string label, Kind kind, DispatchQoS::QoSClass qos)
    : m_label(std::move(label))
    , m_kind(kind)
    , m_qos(qos)
    , m_state(std::make_unique<State>())
{
}

DispatchQueue::~DispatchQueue() = default;

const std::shared_ptr<DispatchQueue>& DispatchQueue::main()
{
    static auto* queue = new std::shared_ptr<DispatchQueue>(
        make<DispatchQueue>("com.apple.main-thread", Kind::main, DispatchQoS::QoSClass::userInteractive));
    return *queue;
}

const std::shared_ptr<DispatchQueue>& DispatchQueue::global(DispatchQoS::QoSClass qos)
{
    static auto* queues = [] {
        auto* all = new std::array<std::shared_ptr<DispatchQueue>, 6>;
        const char* labels[] = {"com.apple.root.background-qos", "com.apple.root.utility-qos",
                                "com.apple.root.default-qos", "com.apple.root.user-initiated-qos",
                                "com.apple.root.user-interactive-qos", "com.apple.root.default-qos"};
        for (std::size_t i = 0; i < all->size(); ++i)
            (*all)[i] = make<DispatchQueue>(labels[i], Kind::concurrent, static_cast<DispatchQoS::QoSClass>(i));
        return all;
    }();
    return (*queues)[static_cast<std::size_t>(qos)];
}

std::shared_ptr<DispatchQueue> DispatchQueue::create(std::string label, Attributes attributes, DispatchQoS::QoSClass qos)
{
    return make<DispatchQueue>(std::move(label), attributes == Attributes::serial ? Kind::serial : Kind::concurrent, qos);
}

std::shared_ptr<DispatchQueue> DispatchQueue::create(std::string label, DispatchQoS::QoSClass qos, Attributes attributes,
                                                    AutoreleaseFrequency autoreleaseFrequency,
                                                    std::shared_ptr<DispatchQueue> target)
{
    auto queue = create(std::move(label), attributes, qos);
    queue->m_autoreleaseFrequency = autoreleaseFrequency;
    queue->m_target = std::move(target);
    return queue;
}

bool DispatchQueue::isCurrent() const
{
    for (const auto* queue : t_runningQueues)
        if (queue == this)
            return true;
    return isMain() && Thread::isMainThread();
}

void DispatchQueue::async(std::function<void()> work)
{
    enqueue(std::move(work));
}

void DispatchQueue::async(const std::shared_ptr<DispatchWorkItem>& item)
{
    enqueue([item] { item->perform(); });
}

void DispatchQueue::async(const std::shared_ptr<DispatchGroup>& group, std::function<void()> work)
{
    group->enter();
    enqueue([group, work = std::move(work)] {
        work();
        group->leave();
    });
}

void DispatchQueue::enqueue(std::function<void()> work)
{
    auto self = sharedSelf(this);
    switch (m_kind) {
    case Kind::main: {
        {
            std::lock_guard lock(m_state->mutex);
            m_state->pending.push_back(std::move(work));
        }
        m_state->workArrived.notify_all();
        return;
    }
    case Kind::serial: {
        bool startDrain = false;
        {
            std::lock_guard lock(m_state->mutex);
            m_state->pending.push_back(std::move(work));
            if (!m_state->draining) {
                m_state->draining = true;
                startDrain = true;
            }
        }
        if (startDrain) {
            if (m_target)
                m_target->enqueue([self] { self->drainSerial(); });
            else
                WorkerPool::shared().submit([self] { self->drainSerial(); });
        }
        return;
    }
    case Kind::concurrent: {
        auto run = [self, work = std::move(work)] {
            RunningOn running(self.get());
            runUncaught(work, self->m_label);
        };
        if (m_target)
            m_target->enqueue(std::move(run));
        else
            WorkerPool::shared().submit(std::move(run));
        return;
    }
    }
}

void DispatchQueue::drainSerial()
{
    RunningOn running(this);
    for (;;) {
        std::function<void()> work;
        {
            std::lock_guard lock(m_state->mutex);
            if (m_state->pending.empty()) {
                m_state->draining = false;
                return;
            }
            work = std::move(m_state->pending.front());
            m_state->pending.pop_front();
        }
        runUncaught(work, m_label);
    }
}

bool DispatchQueue::performNextMainItem()
{
    std::function<void()> work;
    {
        std::lock_guard lock(m_state->mutex);
        if (m_state->pending.empty())
            return false;
        work = std::move(m_state->pending.front());
        m_state->pending.pop_front();
    }
    RunningOn running(this);
    runUncaught(work, m_label);
    return true;
}

std::size_t DispatchQueue::pendingItemCount() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->pending.size();
}

void DispatchQueue::waitForMainWork(double realSeconds)
{
    std::unique_lock lock(m_state->mutex);
    m_state->workArrived.wait_for(lock, std::chrono::duration<double>(realSeconds),
                                  [&] { return !m_state->pending.empty(); });
}

void DispatchQueue::sync(const std::function<void()>& work)
{
    if (m_kind == Kind::concurrent && !m_target) {
        RunningOn running(this);
        work();
        return;
    }
    // Waiting on this queue from inside it, or from inside a serial queue it drains through, never ends.
    for (const DispatchQueue* queue = this; queue; queue = queue->m_target.get()) {
        if (queue->isSerial() && queue->isCurrent())
            fatalError("DispatchQueue.sync on \"" + m_label + "\" from that queue itself would never return");
    }

    std::promise<void> done;
    auto finished = done.get_future();
    enqueue([&work, &done] {
        try {
            work();
            done.set_value();
        } catch (...) {
            done.set_exception(std::current_exception());
        }
    });
    WorkerPool::BlockingScope blocking;
    finished.get();
}

void DispatchQueue::asyncAfter(DispatchTime deadline, std::function<void()> work)
{
    asyncAfter(deadline, make<DispatchWorkItem>(std::move(work)));
}

void DispatchQueue::asyncAfter(DispatchTime deadline, const std::shared_ptr<DispatchWorkItem>& item)
{
    DispatchScheduler::schedule(deadline.uptime, sharedSelf(this), item);
}

} // namespace Foundation
