#pragma once

#include "Ostravane/AppKitBridge.hpp"

#include "Platform/Foundation/Logger.hpp"
#include "Platform/Foundation/NSObject.hpp"

#include <cstdint>
#include <memory>
#include <vector>

namespace Foundation {
class Notification;
class NotificationCenter;
} // namespace Foundation

namespace AppKit {
class NSWindow;
}

namespace Ostravane {

class EventMonitor;

// The plug-in's principal class: the one bridge between the main program and the desktop's window
// system. The program's main window is the first host window of its scenes among the application's
// windows; without one, it reads as unpinned and pinning does nothing.
class AppKitPrincipal : public Foundation::NSObject, public AppKitBridge {
public:
    // The one bridge of the process, made on first use from any thread.
    static std::shared_ptr<AppKitPrincipal> sharedAppKitBridge();

    // Installs a global monitor of left and right mouse-down events, once.
    void setupEventMonitor() override;
    void openAboutPanel() override;
    void quitApplication() override;
    // Pinned: the main window stands at the floating level, above the normal windows of every application.
    bool isMainWindowPinned() const override;
    void setIsMainWindowPinned(bool isMainWindowPinned) override;
    // Keeps the system's text-completion pop-up from showing anything, each time it is about to show, for
    // the rest of the process.
    void setupWindowManagement() override;

    const std::shared_ptr<EventMonitor>& eventMonitor() const { return m_eventMonitor; }

protected:
    friend Foundation::Construct;
    AppKitPrincipal();

private:
    static std::shared_ptr<AppKit::NSWindow> mainWindow();
    void windowWillBecomeVisible(const Foundation::Notification& notification);

    std::shared_ptr<Foundation::NotificationCenter> m_notificationCenter;
    Foundation::Logger m_log;
    std::shared_ptr<EventMonitor> m_eventMonitor;
    std::vector<std::int64_t> m_windowNumbersWhichHaveBeenHandled;
};

} // namespace Ostravane
