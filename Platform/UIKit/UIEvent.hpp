#pragma once

#include "Platform/Foundation/NSObject.hpp"

#include <cstdint>
#include <memory>
#include <vector>

namespace UIKit {

class UIPress;
class UITouch;
class UIWindow;

// One event as the system delivers it: touches, key presses, or a pointer or device event that carries
// neither (scroll, hover, motion).
class UIEvent : public Foundation::NSObject {
public:
    enum class EventType : std::int64_t;

    EventType type() const { return m_type; }
    // Seconds of system uptime when the event happened.
    double timestamp() const { return m_timestamp; }
    const std::vector<std::shared_ptr<UITouch>>& allTouches() const { return m_touches; }
    const std::vector<std::shared_ptr<UIPress>>& allPresses() const { return m_presses; }
    // The window an event without touches is meant for; none sends it to the key window.
    std::shared_ptr<UIWindow> window() const { return m_window.lock(); }

protected:
    friend Foundation::Construct;
    explicit UIEvent(EventType type, std::vector<std::shared_ptr<UITouch>> touches = {},
                     std::vector<std::shared_ptr<UIPress>> presses = {},
                     const std::shared_ptr<UIWindow>& window = nullptr);

private:
    EventType m_type;
    double m_timestamp;
    std::vector<std::shared_ptr<UITouch>> m_touches;
    std::vector<std::shared_ptr<UIPress>> m_presses;
    std::weak_ptr<UIWindow> m_window;
};

} // namespace UIKit

#include "Platform/UIKit/UIEvent.EventType.hpp"
