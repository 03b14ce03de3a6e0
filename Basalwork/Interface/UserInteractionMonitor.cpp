#include "Basalwork/Interface/UserInteractionMonitor.hpp"

#include "Basalwork/Interface/Notification.Name.hpp"

#include "Platform/Foundation/NotificationCenter.hpp"

namespace Basalwork {

using Foundation::Date;
using Foundation::NotificationCenter;

UserInteractionMonitor::UserInteractionMonitor(std::optional<double> inactivityThresholdInterval,
                                               const std::shared_ptr<UserInteractionMonitorDelegate>& delegate)
    : m_delegate(delegate)
    , m_inactivityThresholdInterval(inactivityThresholdInterval)
{
}

void UserInteractionMonitor::initialize()
{
    NSObject::initialize();
    NotificationCenter::defaultCenter()->addObserver(sharedSelf(this), &UserInteractionMonitor::uiInteractionDidOccur,
                                                     Basalwork::uiInteractionDidOccur(), nullptr);
}

UserInteractionMonitor::~UserInteractionMonitor()
{
    if (m_inactivityTimer)
        m_inactivityTimer->invalidate();
    m_inactivityTimer.reset();
    NotificationCenter::defaultCenter()->removeObserver(this);
}

void UserInteractionMonitor::uiInteractionDidOccur()
{
    Date now = Date::now();
    if (now.timeIntervalSince(m_lastInteractionOccuredAt) >= 1.0) {
        m_lastInteractionOccuredAt = now;
        restartTimer();
    }
}

void UserInteractionMonitor::restartTimer()
{
    if (m_inactivityTimer)
        m_inactivityTimer->invalidate();
    m_inactivityTimer.reset();
    if (!m_inactivityThresholdInterval)
        return;
    std::weak_ptr<UserInteractionMonitor> weak = weakSelf(this);
    m_inactivityTimer = Foundation::Timer::scheduledTimer(*m_inactivityThresholdInterval, false, [weak](Foundation::Timer&) {
        auto monitor = weak.lock();
        if (!monitor)
            return;
        if (auto delegate = monitor->delegate())
            delegate->didExceedInactivityTimeoutThreshold(*monitor);
    });
}

void UserInteractionMonitor::inactivityThresholdExceeded()
{
    if (auto delegate = this->delegate())
        delegate->didExceedInactivityTimeoutThreshold(*this);
}

void UserInteractionMonitor::set(std::optional<double> inactivityThresholdInterval)
{
    if (inactivityThresholdInterval == m_inactivityThresholdInterval)
        return;
    m_inactivityThresholdInterval = inactivityThresholdInterval;
    restartTimer();
}

} // namespace Basalwork
