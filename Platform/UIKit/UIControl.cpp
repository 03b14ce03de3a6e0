#include "Platform/UIKit/UIControl.hpp"

namespace UIKit {

struct UIControl::Action {
    std::function<void()> handler;
    Event events;
};

UIControl::State UIControl::state() const
{
    State result = State::normal();
    if (m_isHighlighted)
        result = result | State::highlighted();
    if (!m_isEnabled)
        result = result | State::disabled();
    if (m_isSelected)
        result = result | State::selected();
    return result;
}

void UIControl::addAction(std::function<void()> handler, Event events)
{
    if (handler)
        m_actions.push_back(std::make_shared<Action>(Action {std::move(handler), events}));
}

void UIControl::sendActions(Event events)
{
    // An action may add further actions; those wait for the next event.
    auto actions = m_actions;
    for (const auto& action : actions)
        if (action->events.intersects(events))
            action->handler();
}

} // namespace UIKit

