#pragma once

#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <memory>

namespace Foundation {
class Progress;
class Timer;
} // namespace Foundation

namespace UIKit {

// A bar that fills as work is done: a fraction set by its owner, or the completed fraction of the
// progress object it observes, which it reads again four times a second while the work runs (the
// work reports from other threads, so nothing else would turn the main loop to show it).
class UIProgressView : public UIView {
public:
    ~UIProgressView() override;

    float progress() const;
    void setProgress(float progress, bool animated = false);
    const std::shared_ptr<Foundation::Progress>& observedProgress() const { return m_observedProgress; }
    void setObservedProgress(std::shared_ptr<Foundation::Progress> progress);

    CGSize intrinsicContentSize() const override { return {noIntrinsicMetric, TextGrid::lineHeight}; }
    // The fraction as a percentage, as the platform reads it out.
    std::optional<Foundation::String> accessibilityValue() const override;

protected:
    friend Foundation::Construct;
    UIProgressView() = default;
    explicit UIProgressView(const CGRect& frame)
        : UIView(frame)
    {
    }

private:
    void stopFollowing();

    float m_progress = 0;
    std::shared_ptr<Foundation::Progress> m_observedProgress;
    std::shared_ptr<Foundation::Timer> m_followTimer;
};

} // namespace UIKit
