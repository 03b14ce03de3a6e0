#include "Shared/Model/TimeStepNotifier.hpp"

#include "Shared/Model/TimeStepObserving.hpp"

#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/Timer.hpp"

#include <algorithm>
#include <cmath>

namespace Shared {
namespace {

bool givesCodes(const std::optional<TOTP>& totp)
{
    return totp && totp->secretKeyState() == TOTP::SecretKeyState::valid && totp->period() > 0;
}

} // namespace

TimeStepNotifier::~TimeStepNotifier()
{
    if (m_timer)
        m_timer->invalidate();
}

void TimeStepNotifier::setTOTP(std::optional<TOTP> totp)
{
    m_totp = std::move(totp);
    m_timeStep = currentTimeStep();
    scheduleNextBoundary();
}

void TimeStepNotifier::addObserver(const std::shared_ptr<TimeStepObserving>& observer)
{
    std::erase_if(m_observers, [&](const auto& weak) {
        auto held = weak.lock();
        return !held || held == observer;
    });
    m_observers.push_back(observer);
}

void TimeStepNotifier::removeObserver(const TimeStepObserving& observer)
{
    std::erase_if(m_observers, [&](const auto& weak) {
        auto held = weak.lock();
        return !held || held.get() == &observer;
    });
}

std::optional<double> TimeStepNotifier::secondsRemaining() const
{
    if (!givesCodes(m_totp))
        return std::nullopt;
    return m_totp->secondsRemaining(Foundation::Date::now());
}

std::optional<std::int64_t> TimeStepNotifier::currentTimeStep() const
{
    if (!givesCodes(m_totp))
        return std::nullopt;
    // The same counter the codes are made from: whole seconds since 1970 over the period.
    double seconds = std::floor(std::max(Foundation::Date::now().timeIntervalSince1970(), 0.0));
    return static_cast<std::int64_t>(seconds) / m_totp->period();
}

void TimeStepNotifier::scheduleNextBoundary()
{
    if (m_timer) {
        m_timer->invalidate();
        m_timer.reset();
    }
    if (!m_timeStep)
        return;
    double boundary = static_cast<double>((*m_timeStep + 1) * m_totp->period());
    // Rounding may put the fire a hair before the boundary; the step is then unchanged and the timer is
    // armed again for what is left.
    double delay = std::max(boundary - Foundation::Date::now().timeIntervalSince1970(), 1e-6);
    std::weak_ptr<TimeStepNotifier> weak = sharedSelf(this);
    m_timer = Foundation::Timer::scheduledTimer(delay, false, [weak](Foundation::Timer&) {
        if (auto self = weak.lock())
            self->timerDidFire();
    });
}

void TimeStepNotifier::timerDidFire()
{
    auto step = currentTimeStep();
    bool changed = step != m_timeStep;
    m_timeStep = step;
    scheduleNextBoundary();
    if (!changed)
        return;
    auto observers = m_observers;
    for (const auto& weak : observers)
        if (auto observer = weak.lock())
            observer->timeStepNotifierDidBeginTimeStep(*this);
}

} // namespace Shared
