#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Notification.hpp"
#include "Platform/Foundation/PropertyListValue.hpp"

#include <functional>
#include <memory>
#include <vector>

namespace AppKit {

class NSEvent;
class NSWindow;

// The desktop application: one per process, shared by the program and every plug-in it loads.
class NSApplication : public Foundation::NSObject {
public:
    using AboutPanelOptions = Foundation::PropertyListValue::Dictionary;

    static const std::shared_ptr<NSApplication>& shared();

    // Posted on the default centre, with the application as object, once termination is decided.
    static const Foundation::Notification::Name& willTerminateNotification();

    // The open windows, in the order they were made (hidden ones included).
    std::vector<std::shared_ptr<NSWindow>> windows() const;

    // terminate(_:): announces the end, then stops the main run loop, which ends the program. The
    // framework that runs the program's interface ends its own application while it hears the
    // announcement. A second request while the first is under way is ignored.
    void terminate(const std::shared_ptr<Foundation::NSObject>& sender);
    bool isTerminating() const { return m_isTerminating; }

    // Shows the standard About panel in front of the application's windows, made on first use.
    void orderFrontStandardAboutPanelWithOptions(const AboutPanelOptions& options);
    std::shared_ptr<NSWindow> aboutPanel() const { return m_aboutPanel; }

    // An event of this application: the local monitors whose mask covers it see it first, in the order
    // they were added; each may change it, and one that answers none swallows it.
    std::shared_ptr<NSEvent> sendEvent(std::shared_ptr<NSEvent> event);

protected:
    friend Foundation::Construct;
    NSApplication() = default;

private:
    friend class NSWindow;
    void addWindow(const std::shared_ptr<NSWindow>& window);
    void removeWindow(const NSWindow* window);

    std::vector<std::weak_ptr<NSWindow>> m_windows;
    std::shared_ptr<NSWindow> m_aboutPanel;
    bool m_isTerminating = false;
};

// The shared application, as the platform's global names it.
inline const std::shared_ptr<NSApplication>& NSApp()
{
    return NSApplication::shared();
}

} // namespace AppKit
