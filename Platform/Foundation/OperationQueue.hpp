#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/QualityOfService.hpp"
#include "Platform/Foundation/String.hpp"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace Foundation {

class DispatchQueue;
class Operation;

// Runs operations on a dispatch queue once they are ready, in the order they were added, at most
// `maxConcurrentOperationCount` at a time. The main operation queue runs on the main dispatch queue, so
// it is current wherever the main thread runs; a queue made with `make<OperationQueue>()` runs its
// operations concurrently on worker threads. A queue holding operations stays alive until they have
// finished, even when nothing else holds it.
class OperationQueue : public NSObject {
public:
    static constexpr std::int64_t defaultMaxConcurrentOperationCount = -1;

    static const std::shared_ptr<OperationQueue>& main();
    // The queue running the current operation; on the main thread outside any, the main queue.
    static std::shared_ptr<OperationQueue> current();

    const std::shared_ptr<DispatchQueue>& underlyingQueue() const { return m_underlyingQueue; }
    // Only while the queue holds no operations.
    void setUnderlyingQueue(std::shared_ptr<DispatchQueue> queue);
    // True when code running now runs on this queue.
    bool isCurrent() const;

    String name() const;
    void setName(String name);
    std::int64_t maxConcurrentOperationCount() const;
    // -1 (the default) means as many as the system allows; 0 starts nothing.
    void setMaxConcurrentOperationCount(std::int64_t count);
    QualityOfService qualityOfService() const;
    void setQualityOfService(QualityOfService qos);
    bool isSuspended() const;
    // A suspended queue starts nothing new; operations already running go on.
    void setIsSuspended(bool suspended);

    // Never runs the block inside the call.
    void addOperation(std::function<void()> block);
    // An operation belongs to one queue once: adding it again, or adding one that is executing or
    // finished, stops the program.
    void addOperation(const std::shared_ptr<Operation>& operation);
    // Adds them all before any can start; waiting blocks the caller until every one has finished.
    void addOperations(const std::vector<std::shared_ptr<Operation>>& operations, bool waitUntilFinished);

    // The operations added and not yet finished, in the order they were added.
    std::vector<std::shared_ptr<Operation>> operations() const;
    std::int64_t operationCount() const;
    // Blocks until the queue holds no operations. Waiting from a serial underlying queue the queue runs
    // on stops the program: the wait would never end.
    void waitUntilAllOperationsAreFinished();

protected:
    friend Construct;
    OperationQueue();
    explicit OperationQueue(std::shared_ptr<DispatchQueue> underlyingQueue);
    void initialize() override;

private:
    friend class Operation;
    void enqueue(const std::vector<std::shared_ptr<Operation>>& operations);
    // Hands every ready operation the limit allows to the underlying queue, oldest first.
    void startReadyOperations();
    void operationDidFinish(const Operation& operation);

    mutable std::mutex m_mutex;
    std::condition_variable m_emptied;
    std::shared_ptr<DispatchQueue> m_underlyingQueue;
    String m_name;
    std::int64_t m_maxConcurrentOperationCount = defaultMaxConcurrentOperationCount;
    QualityOfService m_qualityOfService = QualityOfService::default_;
    bool m_suspended = false;
    std::vector<std::shared_ptr<Operation>> m_operations;
    std::deque<std::shared_ptr<Operation>> m_waiting;
    std::int64_t m_runningCount = 0;
    std::shared_ptr<OperationQueue> m_keepAlive;
};

} // namespace Foundation
