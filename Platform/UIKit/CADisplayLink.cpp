#include "Platform/UIKit/CADisplayLink.hpp"

#include "Platform/Foundation/Timer.hpp"

namespace UIKit {

void CADisplayLink::add(const std::shared_ptr<Foundation::RunLoop>& to, const Foundation::RunLoop::Mode& forMode)
{
    if (!m_target || m_timer)
        return;
    std::weak_ptr<CADisplayLink> weakLink = weakSelf(this);
    m_timer = Foundation::make<Foundation::Timer>(frameInterval, true, [weakLink](Foundation::Timer&) {
        // Copied: the target may invalidate the link while it runs.
        if (auto link = weakLink.lock(); link && link->m_target) {
            auto target = link->m_target;
            target();
        }
    });
    to->add(m_timer, forMode);
}

void CADisplayLink::invalidate()
{
    if (m_timer)
        m_timer->invalidate();
    m_timer.reset();
    m_target = nullptr;
}

} // namespace UIKit
