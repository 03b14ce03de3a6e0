#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Notification.hpp"

#include <cstdint>
#include <memory>

namespace AppKit {

class NSViewController;

// A desktop window. It belongs to the application from the moment it is made until it is closed or
// released (the application holds it weakly), and starts hidden. Its number is unique in the process.
class NSWindow : public Foundation::NSObject {
public:
    struct Level;

    // Posted on the default centre, with the window as object, each time a hidden window is about to
    // show; observers on the main thread hear it before the window shows.
    static const Foundation::Notification::Name& willBecomeVisibleNotification();

    std::int64_t windowNumber() const { return m_windowNumber; }
    Level level() const;
    void setLevel(Level level);
    double alphaValue() const { return m_alphaValue; }
    // Clamped to 0...1: 0 leaves nothing of a visible window to see.
    void setAlphaValue(double alphaValue);
    bool isVisible() const { return m_isVisible; }

    const std::shared_ptr<NSViewController>& contentViewController() const { return m_contentViewController; }
    void setContentViewController(std::shared_ptr<NSViewController> controller)
    {
        m_contentViewController = std::move(controller);
    }

    // Shows the window (announcing it first when it was hidden).
    void orderFront(const std::shared_ptr<Foundation::NSObject>& sender);
    void orderOut(const std::shared_ptr<Foundation::NSObject>& sender);
    // Hides the window and takes it out of the application's windows.
    void close();

protected:
    friend Foundation::Construct;
    NSWindow();
    void initialize() override;

private:
    std::int64_t m_windowNumber;
    std::int64_t m_level = 0;
    double m_alphaValue = 1;
    bool m_isVisible = false;
    std::shared_ptr<NSViewController> m_contentViewController;
};

} // namespace AppKit

#include "Platform/AppKit/NSWindow.Level.hpp"
