#include "Platform/UIKit/UIEvent.hpp"

#include "Platform/Foundation/DispatchTime.hpp"
#include "Platform/UIKit/UIPress.hpp"
#include "Platform/UIKit/UITouch.hpp"
#include "Platform/UIKit/UIWindow.hpp"

namespace UIKit {

UIEvent::UIEvent(EventType type, std::vector<std::shared_ptr<UITouch>> touches,
                 std::vector<std::shared_ptr<UIPress>> presses, const std::shared_ptr<UIWindow>& window)
    : m_type(type)
    , m_timestamp(Foundation::DispatchTime::now().uptime)
    , m_touches(std::move(touches))
    , m_presses(std::move(presses))
    , m_window(window)
{
}

} // namespace UIKit
