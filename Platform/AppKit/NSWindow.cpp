#include "Platform/AppKit/NSWindow.hpp"

#include "Platform/AppKit/NSApplication.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"

#include <algorithm>
#include <atomic>

namespace AppKit {
namespace {

std::int64_t nextWindowNumber()
{
    static std::atomic<std::int64_t> last {0};
    return ++last;
}

} // namespace

const Foundation::Notification::Name& NSWindow::willBecomeVisibleNotification()
{
    static const Foundation::Notification::Name name(Foundation::String("_NSWindowWillBecomeVisible"));
    return name;
}

NSWindow::NSWindow()
    : m_windowNumber(nextWindowNumber())
{
}

void NSWindow::initialize()
{
    NSObject::initialize();
    NSApplication::shared()->addWindow(sharedSelf(this));
}

void NSWindow::setLevel(Level level)
{
    m_level = level.rawValue;
}

void NSWindow::setAlphaValue(double alphaValue)
{
    m_alphaValue = std::clamp(alphaValue, 0.0, 1.0);
}

void NSWindow::orderFront(const std::shared_ptr<Foundation::NSObject>&)
{
    if (m_isVisible)
        return;
    Foundation::NotificationCenter::defaultCenter()->post(willBecomeVisibleNotification(), sharedSelf(this));
    m_isVisible = true;
}

void NSWindow::orderOut(const std::shared_ptr<Foundation::NSObject>&)
{
    m_isVisible = false;
}

void NSWindow::close()
{
    m_isVisible = false;
    NSApplication::shared()->removeWindow(this);
}

} // namespace AppKit
