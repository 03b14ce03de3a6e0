#include "Shared/Screens/TimeStepView.hpp"

#include "Shared/Model/TimeStepNotifier.hpp"

#include "Basalwork/Interface/UIFont.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/Timer.hpp"
#include "Platform/UIKit/UIFont.hpp"
#include "Platform/UIKit/UILabel.hpp"

#include <cmath>
#include <string>

namespace Shared {

TimeStepView::TimeStepView(Foundation::NSCoder& coder)
    : UIView(coder)
{
    Foundation::fatalError("init(coder:) has not been implemented");
}

TimeStepView::~TimeStepView()
{
    if (m_tick)
        m_tick->invalidate();
}

void TimeStepView::initialize()
{
    UIView::initialize();
    setAccessibilityIdentifier(Foundation::String("TimeStepView"));
    m_timeStepNotifier = Foundation::make<TimeStepNotifier>();
    m_timeStepNotifier->addObserver(sharedSelf(this));
    m_label = Foundation::make<UIKit::UILabel>();
    m_label->setFont(Basalwork::monospaced(UIKit::UIFont::preferredFont(UIKit::UIFont::TextStyle::caption1())));
    m_label->setTextAlignment(UIKit::NSTextAlignment::center);
    Basalwork::addSubviewWithEdgeContraints(*this, m_label);
    update();
}

void TimeStepView::setMode(Mode mode)
{
    m_mode = mode;
    update();
}

Foundation::String TimeStepView::text() const
{
    return m_label->text().value_or(Foundation::String());
}

void TimeStepView::timeStepNotifierDidBeginTimeStep(TimeStepNotifier&)
{
    update();
}

void TimeStepView::didMoveToWindow()
{
    UIView::didMoveToWindow();
    update();
}

UIKit::CGSize TimeStepView::intrinsicContentSize() const
{
    // Two digits on the grid, whatever the font.
    return {20, 20};
}

void TimeStepView::update()
{
    auto remaining = m_mode == Mode::running ? m_timeStepNotifier->secondsRemaining() : std::nullopt;
    if (!remaining) {
        m_label->setText(std::nullopt);
        setAccessibilityValue(std::nullopt);
        if (m_tick) {
            m_tick->invalidate();
            m_tick.reset();
        }
        return;
    }
    auto seconds = std::to_string(static_cast<std::int64_t>(std::ceil(*remaining)));
    m_label->setText(Foundation::String(seconds));
    setAccessibilityValue(Foundation::String(seconds + " seconds left"));
    scheduleTick();
}

void TimeStepView::scheduleTick()
{
    if (m_tick) {
        m_tick->invalidate();
        m_tick.reset();
    }
    // Only a countdown someone can see needs to move.
    if (!window())
        return;
    auto remaining = m_timeStepNotifier->secondsRemaining();
    if (!remaining)
        return;
    double untilNextSecond = *remaining - (std::ceil(*remaining) - 1.0);
    if (untilNextSecond <= 1e-6)
        untilNextSecond = 1.0;
    std::weak_ptr<TimeStepView> weak = sharedSelf(this);
    m_tick = Foundation::Timer::scheduledTimer(untilNextSecond, false, [weak](Foundation::Timer&) {
        if (auto self = weak.lock())
            self->update();
    });
}

} // namespace Shared
