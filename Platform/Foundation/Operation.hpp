#pragma once

#include "Platform/Foundation/NSObject.hpp"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace Foundation {

class OperationQueue;

// A unit of work for an operation queue. The base class runs `main()` inside `start()` and is finished
// when it returns; an asynchronous subclass overrides `start()`, keeps its own executing and finished
// state and announces each change with `willChangeValue`/`didChangeValue` ("isExecuting", "isFinished"),
// which is how its queue learns that it has finished.
class Operation : public NSObject {
public:
    ~Operation() override;

    virtual void start();
    virtual void main() { }
    virtual void cancel();

    bool isCancelled() const { return m_cancelled.load(); }
    virtual bool isExecuting() const { return m_executing.load(); }
    virtual bool isFinished() const { return m_finished.load(); }
    virtual bool isAsynchronous() const { return false; }
    // Every dependency has finished. A cancelled operation is ready at once, so that its queue starts it
    // and it finishes without running its work.
    virtual bool isReady() const;

    // A dependency is held until this operation is gone; a dependency that never finishes keeps this
    // operation from ever starting.
    void addDependency(const std::shared_ptr<Operation>& operation);
    void removeDependency(const std::shared_ptr<Operation>& operation);
    std::vector<std::shared_ptr<Operation>> dependencies() const;

    // Blocks the calling thread until the operation has finished. Waiting from the serial queue the
    // operation runs on stops the program: the wait would never end.
    void waitUntilFinished();

protected:
    friend Construct;
    Operation() = default;

    // Key-value announcements around a change of state. The queue observes "isFinished" (and readiness
    // through "isCancelled" and "isReady"); other keys are announced to nobody.
    void willChangeValue(const std::string& forKey);
    void didChangeValue(const std::string& forKey);

private:
    friend class OperationQueue;
    void setExecuting(bool executing);
    void setFinished(bool finished);
    // Runs once, the first time the operation is seen finished: wakes waiters, tells the queue and lets
    // the queues of dependent operations look for work that became ready.
    void didFinish();
    void readinessMayHaveChanged();
    std::shared_ptr<OperationQueue> queue() const;

    mutable std::mutex m_mutex;
    std::condition_variable m_finishedCondition;
    std::atomic<bool> m_cancelled {false};
    std::atomic<bool> m_executing {false};
    std::atomic<bool> m_finished {false};
    bool m_didFinish = false;
    bool m_enqueued = false;
    std::weak_ptr<OperationQueue> m_queue;
    std::vector<std::shared_ptr<Operation>> m_dependencies;
    std::vector<std::weak_ptr<Operation>> m_dependents;
};

} // namespace Foundation
