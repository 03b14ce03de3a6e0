#pragma once

#include "Platform/Foundation/Operation.hpp"
#include "Platform/Foundation/OperationQueue.hpp"

#include <cstdint>
#include <memory>
#include <vector>

namespace Basalwork {

struct OperationQueues {
    // init(name:maxConcurrentOperationCount:qos:)
    static std::shared_ptr<Foundation::OperationQueue> withName(Foundation::String name, std::int64_t maxConcurrentOperationCount,
                                                                Foundation::QualityOfService qos);
};

// The operation depends on `dependentOn` (when there is one, or on each given one in order), then joins
// the queue.
void add(Foundation::OperationQueue& queue, const std::shared_ptr<Foundation::Operation>& operation,
         const std::shared_ptr<Foundation::Operation>& dependentOn);
void add(Foundation::OperationQueue& queue, const std::shared_ptr<Foundation::Operation>& operation,
         const std::vector<std::shared_ptr<Foundation::Operation>>& dependentOn);

// Every operation depends on `dependentOn` (when there is one, or on every given one), then all join the
// queue at once; waiting blocks until they have all finished.
void add(Foundation::OperationQueue& queue, const std::vector<std::shared_ptr<Foundation::Operation>>& operations,
         const std::shared_ptr<Foundation::Operation>& dependentOn, bool waitUntilFinished);
void add(Foundation::OperationQueue& queue, const std::vector<std::shared_ptr<Foundation::Operation>>& operations,
         const std::vector<std::shared_ptr<Foundation::Operation>>& dependentOn, bool waitUntilFinished);

} // namespace Basalwork
