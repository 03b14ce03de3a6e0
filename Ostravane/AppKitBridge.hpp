#pragma once

namespace Ostravane {

// What the plug-in offers the main program. The program never links the plug-in: it sends these as
// messages by name to the object its principal class answers for "sharedAppKitBridge" (a class
// property, so not among the members below), and it skips any the object does not answer.
class AppKitBridge {
public:
    virtual ~AppKitBridge() = default;

    virtual void setupEventMonitor() = 0;
    virtual void openAboutPanel() = 0;
    virtual void quitApplication() = 0;
    virtual bool isMainWindowPinned() const = 0;
    virtual void setIsMainWindowPinned(bool isMainWindowPinned) = 0;
    virtual void setupWindowManagement() = 0;
};

} // namespace Ostravane
