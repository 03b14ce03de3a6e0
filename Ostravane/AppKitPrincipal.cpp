#include "Ostravane/AppKitPrincipal.hpp"

#include "Ostravane/EventMonitor.hpp"

#include "Platform/AppKit/NSApplication.hpp"
#include "Platform/AppKit/NSViewController.hpp"
#include "Platform/AppKit/NSWindow.hpp"
#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/Foundation/Selector.hpp"

#include <algorithm>
#include <dlfcn.h>
#include <filesystem>

namespace Ostravane {
namespace {

// The folder the plug-in's code was loaded from is its bundle; linked into another program, the
// code belongs to that program's bundle.
std::string bundleIdentifier()
{
    Dl_info info {};
    if (dladdr(reinterpret_cast<const void*>(&bundleIdentifier), &info) && info.dli_fname) {
        auto folder = std::filesystem::path(info.dli_fname).parent_path();
        if (auto bundle = Foundation::Bundle::atPath(folder.string()))
            if (auto identifier = bundle->bundleIdentifier())
                return identifier->utf8();
    }
    auto identifier = Foundation::Bundle::main()->bundleIdentifier();
    return identifier ? identifier->utf8() : std::string();
}

const bool answersBridgeMessages = [] {
    using Foundation::MethodTable;
    using Foundation::Selector;
    MethodTable::addClassMethod(typeid(AppKitPrincipal), Selector("sharedAppKitBridge"), [](const MethodTable::Arguments&) {
        return MethodTable::result(AppKitPrincipal::sharedAppKitBridge());
    });
    MethodTable::add(Selector("setupEventMonitor"), &AppKitPrincipal::setupEventMonitor);
    MethodTable::add(Selector("openAboutPanel"), &AppKitPrincipal::openAboutPanel);
    MethodTable::add(Selector("quitApplication"), &AppKitPrincipal::quitApplication);
    MethodTable::add(Selector("isMainWindowPinned"), &AppKitPrincipal::isMainWindowPinned);
    MethodTable::add(Selector("setIsMainWindowPinned:"), &AppKitPrincipal::setIsMainWindowPinned);
    MethodTable::add(Selector("setupWindowManagement"), &AppKitPrincipal::setupWindowManagement);
    return true;
}();

} // namespace

std::shared_ptr<AppKitPrincipal> AppKitPrincipal::sharedAppKitBridge()
{
    static const auto shared = Foundation::make<AppKitPrincipal>();
    return shared;
}

AppKitPrincipal::AppKitPrincipal()
    : m_notificationCenter(Foundation::NotificationCenter::defaultCenter())
    , m_log(bundleIdentifier() + ".AppKitPrincipal", "AppKitPrincipal")
{
}

void AppKitPrincipal::setupEventMonitor()
{
    if (m_eventMonitor)
        return;
    auto mask = AppKit::NSEvent::EventTypeMask::leftMouseDown() | AppKit::NSEvent::EventTypeMask::rightMouseDown();
    m_eventMonitor = Foundation::make<EventMonitor>(mask, [](const std::shared_ptr<AppKit::NSEvent>&) {});
    m_eventMonitor->start();
}

void AppKitPrincipal::openAboutPanel()
{
    AppKit::NSApp()->orderFrontStandardAboutPanelWithOptions({});
}

void AppKitPrincipal::quitApplication()
{
    AppKit::NSApp()->terminate(nullptr);
}

std::shared_ptr<AppKit::NSWindow> AppKitPrincipal::mainWindow()
{
    for (const auto& window : AppKit::NSApp()->windows())
        if (window->className() == "UINSWindow")
            return window;
    return nullptr;
}

bool AppKitPrincipal::isMainWindowPinned() const
{
    auto window = mainWindow();
    return window && window->level() == AppKit::NSWindow::Level::floating();
}

void AppKitPrincipal::setIsMainWindowPinned(bool isMainWindowPinned)
{
    if (auto window = mainWindow())
        window->setLevel(isMainWindowPinned ? AppKit::NSWindow::Level::floating() : AppKit::NSWindow::Level::normal());
}

void AppKitPrincipal::setupWindowManagement()
{
    // The observation lasts as long as the process: its token is not kept, and it holds the bridge.
    m_notificationCenter->addObserver(AppKit::NSWindow::willBecomeVisibleNotification(), nullptr, Foundation::OperationQueue::main(),
                                      [self = sharedSelf(this)](const Foundation::Notification& notification) {
                                          self->windowWillBecomeVisible(notification);
                                      });
}

void AppKitPrincipal::windowWillBecomeVisible(const Foundation::Notification& notification)
{
    auto window = std::dynamic_pointer_cast<AppKit::NSWindow>(notification.object());
    if (!window)
        return;
    // Nothing is recorded here: the system shows the same completion window again for the next word,
    // and it must stay hidden every time.
    if (std::ranges::find(m_windowNumbersWhichHaveBeenHandled, window->windowNumber()) != m_windowNumbersWhichHaveBeenHandled.end())
        return;
    const auto& controller = window->contentViewController();
    if (!controller || controller->className() != "SPCompletionListRemoteViewController")
        return;
    m_log.debug("Prevented SPRoundedWindow with windowNumber: %d from becoming visible.", window->windowNumber());
    window->setAlphaValue(0.0);
}

} // namespace Ostravane
