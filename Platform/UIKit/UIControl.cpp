#include "Platform/UIKit/UIControl.hpp"

#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UITouch.hpp"

namespace UIKit {

struct UIControl::Action {
    std::function<void()> handler;
    Event events;
    // A target-action pair instead of a handler.
    std::weak_ptr<Foundation::NSObject> target;
    bool hasTarget = false;
    Foundation::Selector selector;
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
        m_actions.push_back(std::make_shared<Action>(Action {std::move(handler), events, {}, false, {}}));
}

void UIControl::addTarget(const std::shared_ptr<Foundation::NSObject>& target, Foundation::Selector action, Event events)
{
    auto added = std::make_shared<Action>();
    added->events = events;
    added->target = target;
    added->hasTarget = target != nullptr;
    added->selector = action;
    m_actions.push_back(std::move(added));
}

void UIControl::removeTarget(const std::shared_ptr<Foundation::NSObject>& target, Foundation::Selector action, Event events)
{
    std::erase_if(m_actions, [&](const std::shared_ptr<Action>& added) {
        return added->selector && (!target || added->target.lock() == target) && (!action || added->selector == action)
            && added->events.intersects(events);
    });
}

void UIControl::sendActions(Event events)
{
    // An action may add further actions; those wait for the next event.
    auto actions = m_actions;
    for (const auto& action : actions) {
        if (!action->events.intersects(events))
            continue;
        if (action->handler) {
            action->handler();
        } else if (auto target = action->target.lock(); target || !action->hasTarget) {
            UIApplication::shared()->sendAction(action->selector, target, sharedSelf(this), nullptr);
        }
    }
}

bool UIControl::isInside(const UITouch& touch) const
{
    auto self = std::static_pointer_cast<UIView>(std::const_pointer_cast<Foundation::NSObject>(shared_from_this()));
    return bounds().contains(touch.location(self));
}

bool UIControl::beginTracking(const std::shared_ptr<UITouch>&, const std::shared_ptr<UIEvent>&)
{
    return true;
}

bool UIControl::continueTracking(const std::shared_ptr<UITouch>&, const std::shared_ptr<UIEvent>&)
{
    return true;
}

void UIControl::endTracking(const std::shared_ptr<UITouch>&, const std::shared_ptr<UIEvent>&) {}

void UIControl::cancelTracking(const std::shared_ptr<UIEvent>&) {}

void UIControl::touchesBegan(const std::vector<std::shared_ptr<UITouch>>& touches, const std::shared_ptr<UIEvent>& event)
{
    if (!m_isEnabled || touches.empty())
        return;
    m_isTouchInside = true;
    m_isTracking = beginTracking(touches.front(), event);
    setIsHighlighted(true);
    sendActions(Event::touchDown());
}

void UIControl::touchesMoved(const std::vector<std::shared_ptr<UITouch>>& touches, const std::shared_ptr<UIEvent>& event)
{
    if (!m_isEnabled || touches.empty())
        return;
    const bool inside = isInside(*touches.front());
    if (m_isTracking)
        m_isTracking = continueTracking(touches.front(), event);
    if (inside != m_isTouchInside)
        sendActions(inside ? Event::touchDragEnter() : Event::touchDragExit());
    m_isTouchInside = inside;
    setIsHighlighted(inside);
    sendActions(inside ? Event::touchDragInside() : Event::touchDragOutside());
}

void UIControl::touchesEnded(const std::vector<std::shared_ptr<UITouch>>& touches, const std::shared_ptr<UIEvent>& event)
{
    if (!m_isEnabled || touches.empty())
        return;
    const bool inside = isInside(*touches.front());
    m_isTouchInside = inside;
    setIsHighlighted(false);
    if (m_isTracking)
        endTracking(touches.front(), event);
    m_isTracking = false;
    if (!inside) {
        sendActions(Event::touchUpOutside());
        return;
    }
    sendActions(Event::touchUpInside());
    if (triggersPrimaryActionOnTap())
        sendActions(Event::primaryActionTriggered());
}

void UIControl::touchesCancelled(const std::vector<std::shared_ptr<UITouch>>&, const std::shared_ptr<UIEvent>& event)
{
    setIsHighlighted(false);
    if (m_isTracking)
        cancelTracking(event);
    m_isTracking = false;
    sendActions(Event::touchCancel());
}

} // namespace UIKit

