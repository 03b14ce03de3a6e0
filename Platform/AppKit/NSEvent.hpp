#pragma once

#include "Platform/Foundation/NSObject.hpp"

#include <cstddef>
#include <functional>
#include <memory>

namespace AppKit {

// An input event. Monitors watch them: a global monitor sees events that go to other applications (it
// can only look), a local one those of this application before they are handled (see
// `NSApplication::sendEvent`). A monitor stays until its token is passed to `removeMonitor`.
class NSEvent : public Foundation::NSObject {
public:
    enum class EventType : std::int64_t;
    struct EventTypeMask;
    using GlobalHandler = std::function<void(const std::shared_ptr<NSEvent>&)>;
    using LocalHandler = std::function<std::shared_ptr<NSEvent>(const std::shared_ptr<NSEvent>&)>;

    static std::shared_ptr<NSEvent> withType(EventType type) { return Foundation::make<NSEvent>(type); }

    EventType type() const { return m_type; }

    // The token of the new monitor; none for an empty mask or handler.
    static std::shared_ptr<Foundation::NSObject> addGlobalMonitorForEventsMatchingMask(EventTypeMask mask, GlobalHandler handler);
    static std::shared_ptr<Foundation::NSObject> addLocalMonitorForEventsMatchingMask(EventTypeMask mask, LocalHandler handler);
    // A token of a monitor removed already, or of none, is ignored.
    static void removeMonitor(const std::shared_ptr<Foundation::NSObject>& monitor);

    // The desktop hands an event another application received to the global monitors whose mask covers
    // it; answers how many saw it.
    static std::size_t deliverToGlobalMonitors(const std::shared_ptr<NSEvent>& event);

protected:
    friend Foundation::Construct;
    explicit NSEvent(EventType type)
        : m_type(type)
    {
    }

private:
    friend class NSApplication;
    static std::shared_ptr<NSEvent> passThroughLocalMonitors(std::shared_ptr<NSEvent> event);

    EventType m_type;
};

} // namespace AppKit

#include "Platform/AppKit/NSEvent.EventType.hpp"
#include "Platform/AppKit/NSEvent.EventTypeMask.hpp"
