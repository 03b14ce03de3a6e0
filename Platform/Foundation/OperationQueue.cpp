#include "Platform/Foundation/OperationQueue.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/Operation.hpp"
#include "Platform/Foundation/Thread.hpp"
#include "Platform/Foundation/WorkerPool.hpp"

#include <algorithm>
#include <cstdio>

namespace Foundation {
namespace {

// The operation queues whose operations this thread is starting now, innermost last.
thread_local std::vector<std::shared_ptr<OperationQueue>> t_currentQueues;

class Starting {
public:
    explicit Starting(std::shared_ptr<OperationQueue> queue) { t_currentQueues.push_back(std::move(queue)); }
    ~Starting() { t_currentQueues.pop_back(); }
    Starting(const Starting&) = delete;
    Starting& operator=(const Starting&) = delete;
};

class BlockOperation : public Operation {
public:
    void main() override { m_block(); }

protected:
    friend Construct;
    explicit BlockOperation(std::function<void()> block)
        : m_block(std::move(block))
    {
    }

private:
    std::function<void()> m_block;
};

} // namespace

OperationQueue::OperationQueue()
    : m_underlyingQueue(DispatchQueue::create("NSOperationQueue", DispatchQueue::Attributes::concurrent))
{
}

OperationQueue::OperationQueue(std::shared_ptr<DispatchQueue> underlyingQueue)
    : m_underlyingQueue(std::move(underlyingQueue))
{
}

void OperationQueue::initialize()
{
    NSObject::initialize();
    if (m_underlyingQueue->isMain()) {
        m_name = "NSOperationQueue Main Queue";
    } else {
        char address[32];
        std::snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
        m_name = String("NSOperationQueue ") + String(address);
    }
}

const std::shared_ptr<OperationQueue>& OperationQueue::main()
{
    static auto* queue = new std::shared_ptr<OperationQueue>(make<OperationQueue>(DispatchQueue::main()));
    return *queue;
}

std::shared_ptr<OperationQueue> OperationQueue::current()
{
    if (!t_currentQueues.empty())
        return t_currentQueues.back();
    if (Thread::isMainThread())
        return main();
    return nullptr;
}

void OperationQueue::setUnderlyingQueue(std::shared_ptr<DispatchQueue> queue)
{
    precondition(queue != nullptr, "OperationQueue needs an underlying queue");
    std::lock_guard lock(m_mutex);
    precondition(m_operations.empty(), "OperationQueue.underlyingQueue cannot change while the queue holds operations");
    m_underlyingQueue = std::move(queue);
}

bool OperationQueue::isCurrent() const
{
    return m_underlyingQueue->isCurrent();
}

String OperationQueue::name() const
{
    std::lock_guard lock(m_mutex);
    return m_name;
}

void OperationQueue::setName(String name)
{
    std::lock_guard lock(m_mutex);
    m_name = std::move(name);
}

std::int64_t OperationQueue::maxConcurrentOperationCount() const
{
    std::lock_guard lock(m_mutex);
    return m_maxConcurrentOperationCount;
}

void OperationQueue::setMaxConcurrentOperationCount(std::int64_t count)
{
    precondition(count >= -1, "OperationQueue.maxConcurrentOperationCount cannot be below -1");
    {
        std::lock_guard lock(m_mutex);
        m_maxConcurrentOperationCount = count;
    }
    startReadyOperations();
}

QualityOfService OperationQueue::qualityOfService() const
{
    std::lock_guard lock(m_mutex);
    return m_qualityOfService;
}

void OperationQueue::setQualityOfService(QualityOfService qos)
{
    std::lock_guard lock(m_mutex);
    m_qualityOfService = qos;
}

bool OperationQueue::isSuspended() const
{
    std::lock_guard lock(m_mutex);
    return m_suspended;
}

void OperationQueue::setIsSuspended(bool suspended)
{
    {
        std::lock_guard lock(m_mutex);
        m_suspended = suspended;
    }
    startReadyOperations();
}

void OperationQueue::addOperation(std::function<void()> block)
{
    addOperation(make<BlockOperation>(std::move(block)));
}

void OperationQueue::addOperation(const std::shared_ptr<Operation>& operation)
{
    enqueue({operation});
}

void OperationQueue::addOperations(const std::vector<std::shared_ptr<Operation>>& operations, bool waitUntilFinished)
{
    enqueue(operations);
    if (waitUntilFinished) {
        for (const auto& operation : operations)
            operation->waitUntilFinished();
    }
}

void OperationQueue::enqueue(const std::vector<std::shared_ptr<Operation>>& operations)
{
    for (const auto& operation : operations) {
        precondition(operation != nullptr, "OperationQueue cannot add a null operation");
        precondition(!operation->isFinished(), "operation is finished and cannot be enqueued");
        precondition(!operation->isExecuting(), "operation is executing and cannot be enqueued");
        std::lock_guard lock(operation->m_mutex);
        precondition(!operation->m_enqueued, "operation is already enqueued on a queue");
        operation->m_enqueued = true;
        operation->m_queue = weakSelf(this);
    }
    {
        std::lock_guard lock(m_mutex);
        // A queue with work outlives its last owner until the work is done, as work handed to it is not lost.
        if (m_operations.empty() && !operations.empty())
            m_keepAlive = sharedSelf(this);
        m_operations.insert(m_operations.end(), operations.begin(), operations.end());
        m_waiting.insert(m_waiting.end(), operations.begin(), operations.end());
    }
    startReadyOperations();
}

void OperationQueue::startReadyOperations()
{
    auto self = sharedSelf(this);
    std::lock_guard lock(m_mutex);
    // Submitted under the lock, so that two threads looking for work at once cannot swap the order in
    // which operations reach a serial underlying queue.
    for (auto it = m_waiting.begin(); it != m_waiting.end();) {
        if (m_suspended || (m_maxConcurrentOperationCount >= 0 && m_runningCount >= m_maxConcurrentOperationCount))
            return;
        if (!(*it)->isReady()) {
            ++it;
            continue;
        }
        auto operation = std::move(*it);
        it = m_waiting.erase(it);
        ++m_runningCount;
        m_underlyingQueue->async([self, operation] {
            Starting starting(self);
            operation->start();
        });
    }
}

void OperationQueue::operationDidFinish(const Operation& operation)
{
    std::shared_ptr<OperationQueue> keepAlive; // may be the last owner: let go only on the way out
    {
        std::lock_guard lock(m_mutex);
        auto isThis = [&](const auto& candidate) { return candidate.get() == &operation; };
        if (auto waiting = std::find_if(m_waiting.begin(), m_waiting.end(), isThis); waiting != m_waiting.end())
            m_waiting.erase(waiting); // started by hand while it waited here
        else
            --m_runningCount;
        std::erase_if(m_operations, isThis);
        if (m_operations.empty()) {
            keepAlive = std::move(m_keepAlive);
            m_emptied.notify_all();
        }
    }
    startReadyOperations();
}

std::vector<std::shared_ptr<Operation>> OperationQueue::operations() const
{
    std::lock_guard lock(m_mutex);
    return m_operations;
}

std::int64_t OperationQueue::operationCount() const
{
    std::lock_guard lock(m_mutex);
    return static_cast<std::int64_t>(m_operations.size());
}

void OperationQueue::waitUntilAllOperationsAreFinished()
{
    std::unique_lock lock(m_mutex);
    if (m_operations.empty())
        return;
    precondition(!(m_underlyingQueue->isSerial() && m_underlyingQueue->isCurrent()),
                 "OperationQueue.waitUntilAllOperationsAreFinished on its own serial queue would never return");
    lock.unlock();
    WorkerPool::BlockingScope blocking;
    lock.lock();
    m_emptied.wait(lock, [&] { return m_operations.empty(); });
}

} // namespace Foundation
