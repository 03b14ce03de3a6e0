#pragma once

#include "Platform/AppKit/NSEvent.hpp"
#include "Platform/Foundation/NSObject.hpp"

#include <functional>
#include <memory>

namespace Ostravane {

// Watches the desktop's mouse-down events that go to other applications, while it runs. At most one
// monitor of its own is installed at a time; it is removed when the monitor stops or is released.
class EventMonitor : public Foundation::NSObject {
public:
    using Handler = std::function<void(const std::shared_ptr<AppKit::NSEvent>&)>;

    ~EventMonitor() override;

    AppKit::NSEvent::EventTypeMask mask() const { return m_mask; }
    bool isRunning() const { return m_monitor != nullptr; }

    // Replaces a monitor already installed rather than adding a second one.
    void start();
    void stop();

protected:
    friend Foundation::Construct;
    EventMonitor(AppKit::NSEvent::EventTypeMask mask, Handler handler);

private:
    std::shared_ptr<Foundation::NSObject> m_monitor;
    AppKit::NSEvent::EventTypeMask m_mask;
    Handler m_handler;
};

} // namespace Ostravane
