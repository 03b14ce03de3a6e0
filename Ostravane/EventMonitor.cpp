#include "Ostravane/EventMonitor.hpp"

namespace Ostravane {

EventMonitor::EventMonitor(AppKit::NSEvent::EventTypeMask mask, Handler handler)
    : m_mask(mask)
    , m_handler(std::move(handler))
{
}

EventMonitor::~EventMonitor()
{
    stop();
}

void EventMonitor::start()
{
    stop();
    m_monitor = AppKit::NSEvent::addGlobalMonitorForEventsMatchingMask(m_mask, [weak = weakSelf(this)](const std::shared_ptr<AppKit::NSEvent>& event) {
        if (auto self = weak.lock(); self && self->m_handler)
            self->m_handler(event);
    });
}

void EventMonitor::stop()
{
    if (!m_monitor)
        return;
    AppKit::NSEvent::removeMonitor(m_monitor);
    m_monitor.reset();
}

} // namespace Ostravane
