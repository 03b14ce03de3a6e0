#include "Platform/AppKit/NSEvent.hpp"

#include <algorithm>
#include <iterator>
#include <mutex>
#include <variant>
#include <vector>

namespace AppKit {
namespace {

class MonitorToken : public Foundation::NSObject {
protected:
    friend Foundation::Construct;
    MonitorToken() = default;
};

// The list holds the token, so that the monitor stays until it is removed, whoever drops the token.
struct Monitor {
    std::shared_ptr<Foundation::NSObject> token;
    NSEvent::EventTypeMask mask;
    std::variant<NSEvent::GlobalHandler, NSEvent::LocalHandler> handler;
};

struct Monitors {
    std::mutex mutex;
    std::vector<Monitor> list;
};

Monitors& monitors()
{
    static auto* instance = new Monitors;
    return *instance;
}

template <class Handler>
std::shared_ptr<Foundation::NSObject> addMonitor(NSEvent::EventTypeMask mask, Handler handler)
{
    if (mask.rawValue == 0 || !handler)
        return nullptr;
    auto token = Foundation::make<MonitorToken>();
    auto& all = monitors();
    std::lock_guard lock(all.mutex);
    all.list.push_back({token, mask, std::move(handler)});
    return token;
}

// The monitors of one kind that cover the event, as they stand now: a handler may add or remove some.
template <class Handler>
std::vector<std::pair<std::shared_ptr<Foundation::NSObject>, Handler>> matching(NSEvent::EventType type)
{
    std::vector<std::pair<std::shared_ptr<Foundation::NSObject>, Handler>> result;
    auto& all = monitors();
    std::lock_guard lock(all.mutex);
    for (const auto& monitor : all.list)
        if (const auto* handler = std::get_if<Handler>(&monitor.handler); handler && monitor.mask.covers(type))
            result.emplace_back(monitor.token, *handler);
    return result;
}

bool isInstalled(const std::shared_ptr<Foundation::NSObject>& token)
{
    auto& all = monitors();
    std::lock_guard lock(all.mutex);
    return std::any_of(all.list.begin(), all.list.end(), [&token](const Monitor& monitor) { return monitor.token == token; });
}

} // namespace

std::shared_ptr<Foundation::NSObject> NSEvent::addGlobalMonitorForEventsMatchingMask(EventTypeMask mask, GlobalHandler handler)
{
    return addMonitor(mask, std::move(handler));
}

std::shared_ptr<Foundation::NSObject> NSEvent::addLocalMonitorForEventsMatchingMask(EventTypeMask mask, LocalHandler handler)
{
    return addMonitor(mask, std::move(handler));
}

void NSEvent::removeMonitor(const std::shared_ptr<Foundation::NSObject>& monitor)
{
    // Released outside the lock: a handler's captures may remove monitors of their own as they go.
    std::vector<Monitor> removed;
    auto& all = monitors();
    std::lock_guard lock(all.mutex);
    auto kept = std::stable_partition(all.list.begin(), all.list.end(), [&monitor](const Monitor& each) { return each.token != monitor; });
    std::move(kept, all.list.end(), std::back_inserter(removed));
    all.list.erase(kept, all.list.end());
}

std::size_t NSEvent::deliverToGlobalMonitors(const std::shared_ptr<NSEvent>& event)
{
    if (!event)
        return 0;
    std::size_t delivered = 0;
    for (const auto& [token, handler] : matching<GlobalHandler>(event->type())) {
        // One removed by an earlier handler of this event no longer sees it.
        if (!isInstalled(token))
            continue;
        handler(event);
        ++delivered;
    }
    return delivered;
}

std::shared_ptr<NSEvent> NSEvent::passThroughLocalMonitors(std::shared_ptr<NSEvent> event)
{
    for (const auto& [token, handler] : matching<LocalHandler>(event->type())) {
        if (!isInstalled(token))
            continue;
        event = handler(event);
        if (!event)
            return nullptr;
    }
    return event;
}

} // namespace AppKit
