#include "Platform/UIKit/UITouch.hpp"

#include "Platform/UIKit/UIWindow.hpp"

namespace UIKit {

UITouch::UITouch(const std::shared_ptr<UIWindow>& window, CGPoint locationInWindow, Phase phase)
    : m_phase(phase)
    , m_window(window)
    , m_locationInWindow(locationInWindow)
{
}

CGPoint UITouch::location(const std::shared_ptr<UIView>& in) const
{
    auto window = m_window.lock();
    if (!in || !window)
        return m_locationInWindow;
    return in->convertFrom(m_locationInWindow, window);
}

} // namespace UIKit
