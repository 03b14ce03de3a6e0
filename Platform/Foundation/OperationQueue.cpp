#include "Platform/Foundation/OperationQueue.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"

namespace Foundation {

OperationQueue::OperationQueue()
    : m_underlyingQueue(DispatchQueue::create("NSOperationQueue", DispatchQueue::Attributes::concurrent))
{
}

OperationQueue::OperationQueue(std::shared_ptr<DispatchQueue> underlyingQueue)
    : m_underlyingQueue(std::move(underlyingQueue))
{
}

const std::shared_ptr<OperationQueue>& OperationQueue::main()
{
    static auto* queue = new std::shared_ptr<OperationQueue>(make<OperationQueue>(DispatchQueue::main()));
    return *queue;
}

bool OperationQueue::isCurrent() const
{
    return m_underlyingQueue->isCurrent();
}

void OperationQueue::addOperation(std::function<void()> block)
{
    m_underlyingQueue->async(std::move(block));
}

} // namespace Foundation
