#pragma once

#include "Platform/Foundation/NSObject.hpp"

#include <functional>
#include <memory>

namespace Foundation {

class DispatchQueue;

// A queue of blocks over a dispatch queue. The main operation queue runs on the main dispatch queue, so
// it is current wherever the main thread runs; a queue made with `make<OperationQueue>()` runs its blocks
// concurrently on worker threads.
class OperationQueue : public NSObject {
public:
    static const std::shared_ptr<OperationQueue>& main();

    const std::shared_ptr<DispatchQueue>& underlyingQueue() const { return m_underlyingQueue; }
    // True when code running now runs on this queue.
    bool isCurrent() const;
    // Never runs the block inside the call.
    void addOperation(std::function<void()> block);

protected:
    friend Construct;
    OperationQueue();
    explicit OperationQueue(std::shared_ptr<DispatchQueue> underlyingQueue);

private:
    std::shared_ptr<DispatchQueue> m_underlyingQueue;
};

} // namespace Foundation
