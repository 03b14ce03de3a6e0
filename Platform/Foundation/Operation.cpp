#include "Platform/Foundation/Operation.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/Foundation/WorkerPool.hpp"

#include <algorithm>

namespace Foundation {

Operation::~Operation() = default;

void Operation::start()
{
    if (isCancelled()) {
        setFinished(true);
        return;
    }
    setExecuting(true);
    main();
    setExecuting(false);
    setFinished(true);
}

void Operation::cancel()
{
    if (m_cancelled.exchange(true))
        return;
    willChangeValue("isCancelled");
    didChangeValue("isCancelled");
}

bool Operation::isReady() const
{
    if (isCancelled())
        return true;
    auto pending = dependencies();
    return std::all_of(pending.begin(), pending.end(), [](const auto& dependency) { return dependency->isFinished(); });
}

void Operation::addDependency(const std::shared_ptr<Operation>& operation)
{
    precondition(operation != nullptr && operation.get() != this, "An operation cannot depend on itself");
    // Registered with the dependency first: should it finish in between, this operation's queue still
    // looks at it again below.
    {
        std::lock_guard lock(operation->m_mutex);
        operation->m_dependents.push_back(weakSelf(this));
    }
    {
        std::lock_guard lock(m_mutex);
        m_dependencies.push_back(operation);
    }
    readinessMayHaveChanged();
}

void Operation::removeDependency(const std::shared_ptr<Operation>& operation)
{
    {
        std::lock_guard lock(m_mutex);
        auto found = std::find(m_dependencies.begin(), m_dependencies.end(), operation);
        if (found == m_dependencies.end())
            return;
        m_dependencies.erase(found);
    }
    readinessMayHaveChanged();
}

std::vector<std::shared_ptr<Operation>> Operation::dependencies() const
{
    std::lock_guard lock(m_mutex);
    return m_dependencies;
}

void Operation::waitUntilFinished()
{
    if (auto owner = queue()) {
        const auto& underlying = owner->underlyingQueue();
        precondition(!(underlying->isSerial() && underlying->isCurrent()) || isFinished(),
                     "Operation.waitUntilFinished on the serial queue that runs it would never return");
    }
    WorkerPool::BlockingScope blocking;
    std::unique_lock lock(m_mutex);
    m_finishedCondition.wait(lock, [&] { return m_didFinish; });
}

void Operation::willChangeValue(const std::string&) { }

void Operation::didChangeValue(const std::string& forKey)
{
    if (forKey == "isFinished") {
        if (isFinished())
            didFinish();
    } else if (forKey == "isCancelled" || forKey == "isReady") {
        readinessMayHaveChanged();
    }
}

void Operation::setExecuting(bool executing)
{
    willChangeValue("isExecuting");
    m_executing = executing;
    didChangeValue("isExecuting");
}

void Operation::setFinished(bool finished)
{
    willChangeValue("isFinished");
    m_finished = finished;
    didChangeValue("isFinished");
}

void Operation::didFinish()
{
    std::shared_ptr<OperationQueue> owner;
    std::vector<std::shared_ptr<Operation>> dependents;
    {
        std::lock_guard lock(m_mutex);
        // An asynchronous operation may announce its end twice (cancelled while running, then completed).
        if (m_didFinish)
            return;
        m_didFinish = true;
        owner = m_queue.lock();
        for (const auto& weak : m_dependents) {
            if (auto dependent = weak.lock())
                dependents.push_back(std::move(dependent));
        }
    }
    m_finishedCondition.notify_all();
    auto self = sharedSelf(this); // the queue lets go of it below
    if (owner)
        owner->operationDidFinish(*this);
    for (const auto& dependent : dependents) {
        if (auto dependentQueue = dependent->queue())
            dependentQueue->startReadyOperations();
    }
}

void Operation::readinessMayHaveChanged()
{
    if (auto owner = queue())
        owner->startReadyOperations();
}

std::shared_ptr<OperationQueue> Operation::queue() const
{
    std::lock_guard lock(m_mutex);
    return m_queue.lock();
}

} // namespace Foundation
