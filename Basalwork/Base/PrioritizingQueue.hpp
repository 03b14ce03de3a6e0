#pragma once

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/NSObject.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

namespace Foundation {
class DispatchGroup;
}

namespace Basalwork {

// A work queue that callers reach one at a time, in arrival order, through one of two entry queues:
// callers on the main operation queue through a high-priority one, everybody else through a low-priority
// one, so the main thread never waits behind background callers for its turn to submit.
//
// Calling it from a closure running on one of its entry queues, or `sync` from a closure running on a
// serial work queue, waits on itself and stops the program.
class PrioritizingQueue : public Foundation::NSObject {
public:
    const std::shared_ptr<Foundation::DispatchQueue>& workQueue() const { return m_workQueue; }
    const std::shared_ptr<Foundation::DispatchQueue>& highPriorityQueue() const { return m_highPriorityQueue; }
    const std::shared_ptr<Foundation::DispatchQueue>& lowPriorityQueue() const { return m_lowPriorityQueue; }

    // Runs the closure on the work queue and returns what it returns; what it throws reaches the caller.
    template <class Body>
    std::invoke_result_t<Body&> sync(Body&& execute)
    {
        using Value = std::invoke_result_t<Body&>;
        if constexpr (std::is_void_v<Value>) {
            enter([&] { m_workQueue->sync([&] { execute(); }); });
        } else {
            std::optional<Value> value;
            enter([&] { m_workQueue->sync([&] { value.emplace(execute()); }); });
            return std::move(*value);
        }
    }

    // Returns once the closure is on the work queue, usually before it runs.
    void async(std::function<void()> execute, const std::shared_ptr<Foundation::DispatchGroup>& group = nullptr);

protected:
    friend Foundation::Construct;
    // A new serial or concurrent work queue with exactly these settings.
    explicit PrioritizingQueue(std::string label, Foundation::DispatchQoS::QoSClass qos = Foundation::DispatchQoS::QoSClass::unspecified,
                               Foundation::DispatchQueue::Attributes attributes = Foundation::DispatchQueue::Attributes::serial,
                               Foundation::DispatchQueue::AutoreleaseFrequency autoreleaseFrequency
                               = Foundation::DispatchQueue::AutoreleaseFrequency::inherit,
                               std::shared_ptr<Foundation::DispatchQueue> target = nullptr);
    explicit PrioritizingQueue(std::shared_ptr<Foundation::DispatchQueue> workQueue);

private:
    // Waits for this caller's turn on its entry queue and runs `step` there.
    void enter(const std::function<void()>& step);

    std::shared_ptr<Foundation::DispatchQueue> m_workQueue;
    std::shared_ptr<Foundation::DispatchQueue> m_highPriorityQueue;
    std::shared_ptr<Foundation::DispatchQueue> m_lowPriorityQueue;
};

} // namespace Basalwork
