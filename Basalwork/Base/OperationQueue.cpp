#include "Basalwork/Base/OperationQueue.hpp"

#include "Basalwork/Base/Operation.hpp"

namespace Basalwork {

std::shared_ptr<Foundation::OperationQueue> OperationQueues::withName(Foundation::String name, std::int64_t maxConcurrentOperationCount,
                                                                      Foundation::QualityOfService qos)
{
    auto queue = Foundation::make<Foundation::OperationQueue>();
    queue->setName(std::move(name));
    queue->setMaxConcurrentOperationCount(maxConcurrentOperationCount);
    queue->setQualityOfService(qos);
    return queue;
}

void add(Foundation::OperationQueue& queue, const std::shared_ptr<Foundation::Operation>& operation,
         const std::shared_ptr<Foundation::Operation>& dependentOn)
{
    if (dependentOn)
        operation->addDependency(dependentOn);
    queue.addOperation(operation);
}

void add(Foundation::OperationQueue& queue, const std::shared_ptr<Foundation::Operation>& operation,
         const std::vector<std::shared_ptr<Foundation::Operation>>& dependentOn)
{
    add(*operation, dependentOn);
    queue.addOperation(operation);
}

void add(Foundation::OperationQueue& queue, const std::vector<std::shared_ptr<Foundation::Operation>>& operations,
         const std::shared_ptr<Foundation::Operation>& dependentOn, bool waitUntilFinished)
{
    if (dependentOn) {
        for (const auto& operation : operations)
            operation->addDependency(dependentOn);
    }
    queue.addOperations(operations, waitUntilFinished);
}

void add(Foundation::OperationQueue& queue, const std::vector<std::shared_ptr<Foundation::Operation>>& operations,
         const std::vector<std::shared_ptr<Foundation::Operation>>& dependentOn, bool waitUntilFinished)
{
    for (const auto& operation : operations)
        add(*operation, dependentOn);
    queue.addOperations(operations, waitUntilFinished);
}

} // namespace Basalwork
