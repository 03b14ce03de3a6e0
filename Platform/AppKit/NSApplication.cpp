#include "Platform/AppKit/NSApplication.hpp"

#include "Platform/AppKit/NSEvent.hpp"
#include "Platform/AppKit/NSWindow.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/RunLoop.hpp"

#include <algorithm>

namespace AppKit {
namespace {

// The standard About panel: a window of its own class, so that it is told apart from the program's.
class NSAboutPanel : public NSWindow {
protected:
    friend Foundation::Construct;
    NSAboutPanel() = default;
};

} // namespace

const std::shared_ptr<NSApplication>& NSApplication::shared()
{
    static auto* application = new std::shared_ptr<NSApplication>(Foundation::make<NSApplication>());
    return *application;
}

const Foundation::Notification::Name& NSApplication::willTerminateNotification()
{
    static const Foundation::Notification::Name name(Foundation::String("NSApplicationWillTerminateNotification"));
    return name;
}

std::vector<std::shared_ptr<NSWindow>> NSApplication::windows() const
{
    std::vector<std::shared_ptr<NSWindow>> result;
    for (const auto& weak : m_windows)
        if (auto window = weak.lock())
            result.push_back(std::move(window));
    return result;
}

void NSApplication::addWindow(const std::shared_ptr<NSWindow>& window)
{
    std::erase_if(m_windows, [](const std::weak_ptr<NSWindow>& weak) { return weak.expired(); });
    m_windows.push_back(window);
}

void NSApplication::removeWindow(const NSWindow* window)
{
    std::erase_if(m_windows, [window](const std::weak_ptr<NSWindow>& weak) {
        auto held = weak.lock();
        return !held || held.get() == window;
    });
}

void NSApplication::terminate(const std::shared_ptr<Foundation::NSObject>&)
{
    if (m_isTerminating)
        return;
    m_isTerminating = true;
    Foundation::NotificationCenter::defaultCenter()->post(willTerminateNotification(), sharedSelf(this));
    Foundation::RunLoop::main()->stop();
}

void NSApplication::orderFrontStandardAboutPanelWithOptions(const AboutPanelOptions&)
{
    if (!m_aboutPanel)
        m_aboutPanel = Foundation::make<NSAboutPanel>();
    m_aboutPanel->orderFront(nullptr);
}

std::shared_ptr<NSEvent> NSApplication::sendEvent(std::shared_ptr<NSEvent> event)
{
    return event ? NSEvent::passThroughLocalMonitors(std::move(event)) : nullptr;
}

} // namespace AppKit
