#include "Basalwork/Base/PrioritizingQueue.hpp"

#include "Platform/Foundation/DispatchGroup.hpp"
#include "Platform/Foundation/OperationQueue.hpp"

namespace Basalwork {
namespace {

std::shared_ptr<Foundation::DispatchQueue> makeEntryQueue(const char* label, Foundation::DispatchQoS::QoSClass qos)
{
    return Foundation::DispatchQueue::create(label, qos, Foundation::DispatchQueue::Attributes::serial,
                                             Foundation::DispatchQueue::AutoreleaseFrequency::inherit, nullptr);
}

} // namespace

PrioritizingQueue::PrioritizingQueue(std::string label, Foundation::DispatchQoS::QoSClass qos,
                                     Foundation::DispatchQueue::Attributes attributes,
                                     Foundation::DispatchQueue::AutoreleaseFrequency autoreleaseFrequency,
                                     std::shared_ptr<Foundation::DispatchQueue> target)
    : m_highPriorityQueue(makeEntryQueue("PrioritizingQueue.highPriorityQueue", Foundation::DispatchQoS::QoSClass::userInteractive))
    , m_lowPriorityQueue(makeEntryQueue("PrioritizingQueue.lowPriorityQueue", Foundation::DispatchQoS::QoSClass::background))
{
    m_workQueue = Foundation::DispatchQueue::create(std::move(label), qos, attributes, autoreleaseFrequency, std::move(target));
}

PrioritizingQueue::PrioritizingQueue(std::shared_ptr<Foundation::DispatchQueue> workQueue)
    : m_workQueue(std::move(workQueue))
    , m_highPriorityQueue(makeEntryQueue("PrioritizingQueue.highPriorityQueue", Foundation::DispatchQoS::QoSClass::userInteractive))
    , m_lowPriorityQueue(makeEntryQueue("PrioritizingQueue.lowPriorityQueue", Foundation::DispatchQoS::QoSClass::background))
{
}

void PrioritizingQueue::async(std::function<void()> execute, const std::shared_ptr<Foundation::DispatchGroup>& group)
{
    enter([&] {
        if (group)
            m_workQueue->async(group, std::move(execute));
        else
            m_workQueue->async(std::move(execute));
    });
}

void PrioritizingQueue::enter(const std::function<void()>& step)
{
    bool fromMainOperationQueue = Foundation::OperationQueue::current() == Foundation::OperationQueue::main();
    (fromMainOperationQueue ? m_highPriorityQueue : m_lowPriorityQueue)->sync(step);
}

} // namespace Basalwork
