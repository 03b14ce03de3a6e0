#include "Platform/UIKit/UIProgressView.hpp"

#include "Platform/Foundation/Progress.hpp"
#include "Platform/Foundation/Timer.hpp"

#include <algorithm>
#include <cmath>
#include <string>

namespace UIKit {

UIProgressView::~UIProgressView()
{
    stopFollowing();
}

float UIProgressView::progress() const
{
    if (!m_observedProgress)
        return m_progress;
    const auto total = m_observedProgress->totalUnitCount();
    if (total <= 0)
        return 0;
    const auto completed = std::clamp<std::int64_t>(m_observedProgress->completedUnitCount(), 0, total);
    return static_cast<float>(static_cast<double>(completed) / static_cast<double>(total));
}

void UIProgressView::setProgress(float progress, bool)
{
    m_progress = std::isnan(progress) ? 0.0F : std::clamp(progress, 0.0F, 1.0F);
}

void UIProgressView::setObservedProgress(std::shared_ptr<Foundation::Progress> progress)
{
    stopFollowing();
    m_observedProgress = std::move(progress);
    if (!m_observedProgress)
        return;
    std::weak_ptr<UIProgressView> weak = sharedSelf(this);
    m_followTimer = Foundation::Timer::scheduledTimer(0.25, true, [weak](Foundation::Timer& timer) {
        auto self = weak.lock();
        if (!self || !self->m_observedProgress) {
            timer.invalidate();
            return;
        }
        const auto& observed = *self->m_observedProgress;
        if (observed.isCancelled() || (observed.totalUnitCount() > 0 && observed.completedUnitCount() >= observed.totalUnitCount()))
            self->stopFollowing();
        self->setNeedsLayout();
    });
}

void UIProgressView::stopFollowing()
{
    if (m_followTimer)
        m_followTimer->invalidate();
    m_followTimer.reset();
}

std::optional<Foundation::String> UIProgressView::accessibilityValue() const
{
    if (auto value = UIView::accessibilityValue())
        return value;
    return Foundation::String(std::to_string(static_cast<int>(std::lround(progress() * 100))) + "%");
}

} // namespace UIKit
