#pragma once

#include "Platform/Foundation/DispatchQoS.hpp"
#include "Platform/Foundation/DispatchTime.hpp"
#include "Platform/Foundation/NSObject.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace Foundation {

class DispatchGroup;
class DispatchWorkItem;
class RunLoop;

// Work queues. The main queue runs on the main thread when the main run loop turns; serial queues run one
// item at a time, in order, on worker threads; concurrent and global queues run items in parallel.
// `async` never runs the work inside the call.
class DispatchQueue : public NSObject {
public:
    enum class Attributes { serial, concurrent };
    // Recorded only: nothing here keeps autorelease pools.
    enum class AutoreleaseFrequency { inherit, workItem, never };

    static const std::shared_ptr<DispatchQueue>& main();
    static const std::shared_ptr<DispatchQueue>& global(DispatchQoS::QoSClass qos = DispatchQoS::QoSClass::default_);
    static std::shared_ptr<DispatchQueue> create(std::string label, Attributes attributes = Attributes::serial,
                                                 DispatchQoS::QoSClass qos = DispatchQoS::QoSClass::unspecified);
    // A queue whose work runs through `target`: a serial queue drains as one item of the target, a
    // concurrent one hands each item to it, so a serial target serialises everything aimed at it.
    static std::shared_ptr<DispatchQueue> create(std::string label, DispatchQoS::QoSClass qos,
                                                 Attributes attributes = Attributes::serial,
                                                 AutoreleaseFrequency autoreleaseFrequency = AutoreleaseFrequency::inherit,
                                                 std::shared_ptr<DispatchQueue> target = nullptr);
    ~DispatchQueue() override;

    const std::string& label() const { return m_label; }
    bool isMain() const { return m_kind == Kind::main; }
    bool isSerial() const { return m_kind != Kind::concurrent; }
    DispatchQoS::QoSClass qos() const { return m_qos; }
    AutoreleaseFrequency autoreleaseFrequency() const { return m_autoreleaseFrequency; }
    const std::shared_ptr<DispatchQueue>& target() const { return m_target; }
    // True when code running now runs on this queue (the main queue is current anywhere on the main thread).
    bool isCurrent() const;

    void async(std::function<void()> work);
    void async(const std::shared_ptr<DispatchWorkItem>& item);
    void async(const std::shared_ptr<DispatchGroup>& group, std::function<void()> work);
    // Runs the work on this queue and returns when it has run; an exception it throws reaches the caller.
    // Calling it for a serial queue from that queue itself stops the program: the wait would never end.
    void sync(const std::function<void()>& work);
    template <class R>
    R sync(const std::function<R()>& work)
    {
        std::optional<R> result;
        sync(std::function<void()>([&] { result.emplace(work()); }));
        return std::move(*result);
    }
    void asyncAfter(DispatchTime deadline, std::function<void()> work);
    void asyncAfter(DispatchTime deadline, const std::shared_ptr<DispatchWorkItem>& item);

private:
    enum class Kind { main, serial, concurrent };
    friend Construct;
    friend class RunLoop;
    DispatchQueue(std::string label, Kind kind, DispatchQoS::QoSClass qos);

    void enqueue(std::function<void()> work);
    void drainSerial();
    // Main queue only: runs the oldest pending item; false when there was none.
    bool performNextMainItem();
    std::size_t pendingItemCount() const;
    // Main queue only: waits until an item is pending or `realSeconds` have passed.
    void waitForMainWork(double realSeconds);

    struct State;
    std::string m_label;
    Kind m_kind;
    DispatchQoS::QoSClass m_qos;
    std::unique_ptr<State> m_state;
    AutoreleaseFrequency m_autoreleaseFrequency = AutoreleaseFrequency::inherit;
    std::shared_ptr<DispatchQueue> m_target;
};

} // namespace Foundation
