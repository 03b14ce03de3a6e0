#pragma once

#include "Shared/Model/TimeStepObserving.hpp"

#include "Platform/UIKit/UIView.hpp"

#include <memory>

namespace Foundation {
class Timer;
}
namespace UIKit {
class UILabel;
}

namespace Shared {

class TimeStepNotifier;

// The countdown beside a one-time code: the whole seconds left of the code's period, counting down on
// the clock and starting again when the notifier begins the next step. Without a code (no password, or
// an invalid secret) it shows nothing.
class TimeStepView : public UIKit::UIView, public TimeStepObserving {
public:
    enum class Mode { running, noCode };

    const std::shared_ptr<TimeStepNotifier>& timeStepNotifier() const { return m_timeStepNotifier; }
    Mode mode() const { return m_mode; }
    void setMode(Mode mode);

    // What the countdown shows now ("30" down to "1"); empty without a code.
    Foundation::String text() const;

    void timeStepNotifierDidBeginTimeStep(TimeStepNotifier& notifier) override;
    void didMoveToWindow() override;
    UIKit::CGSize intrinsicContentSize() const override;

    ~TimeStepView() override;

protected:
    friend Foundation::Construct;
    TimeStepView() = default;
    // Built in code only: stops the program.
    explicit TimeStepView(Foundation::NSCoder& coder);
    void initialize() override;

private:
    void update();
    void scheduleTick();

    std::shared_ptr<TimeStepNotifier> m_timeStepNotifier;
    std::shared_ptr<UIKit::UILabel> m_label;
    std::shared_ptr<Foundation::Timer> m_tick;
    Mode m_mode = Mode::noCode;
};

} // namespace Shared
