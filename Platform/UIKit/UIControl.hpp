#pragma once

#include "Platform/UIKit/UIView.hpp"

#include <functional>
#include <vector>

namespace UIKit {

// A view the user operates. It tracks the touches that begin on it (highlighted while the finger is
// inside) and reports what the user did as control events to the actions and targets added for them:
// touch down, drags, touch up inside or outside, and what the kind of control makes of them (a value
// changed, its primary action). A disabled control takes no touches.
class UIControl : public UIView {
public:
    struct Event;
    struct State;

    bool isEnabled() const { return m_isEnabled; }
    virtual void setIsEnabled(bool enabled) { m_isEnabled = enabled; }
    bool isSelected() const { return m_isSelected; }
    virtual void setIsSelected(bool selected) { m_isSelected = selected; }
    bool isHighlighted() const { return m_isHighlighted; }
    virtual void setIsHighlighted(bool highlighted) { m_isHighlighted = highlighted; }
    // The flags above as one state; normal when none is set.
    State state() const;

    // addAction(_:for:): the handler runs for every event of `events`, in the order actions were added.
    virtual void addAction(std::function<void()> handler, Event events);
    // addTarget(_:action:for:): the action is sent to the target, or along the responder chain from the
    // control's first responder when there is no target, with the control as sender. The target is held
    // weakly.
    void addTarget(const std::shared_ptr<Foundation::NSObject>& target, Foundation::Selector action, Event events);
    void removeTarget(const std::shared_ptr<Foundation::NSObject>& target, Foundation::Selector action, Event events);
    // Runs the actions of every event in `events`, as the control does when the user operates it.
    virtual void sendActions(Event events);

    bool isTracking() const { return m_isTracking; }
    bool isTouchInside() const { return m_isTouchInside; }
    // Tracking a touch; false from `beginTracking` or `continueTracking` stops it.
    virtual bool beginTracking(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>& event);
    virtual bool continueTracking(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>& event);
    virtual void endTracking(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>& event);
    virtual void cancelTracking(const std::shared_ptr<UIEvent>& event);

    void touchesBegan(const std::vector<std::shared_ptr<UITouch>>& touches, const std::shared_ptr<UIEvent>& event) override;
    void touchesMoved(const std::vector<std::shared_ptr<UITouch>>& touches, const std::shared_ptr<UIEvent>& event) override;
    void touchesEnded(const std::vector<std::shared_ptr<UITouch>>& touches, const std::shared_ptr<UIEvent>& event) override;
    void touchesCancelled(const std::vector<std::shared_ptr<UITouch>>& touches, const std::shared_ptr<UIEvent>& event) override;

protected:
    friend Foundation::Construct;
    UIControl() = default;
    explicit UIControl(const CGRect& frame)
        : UIView(frame)
    {
    }
    explicit UIControl(Foundation::NSCoder& coder)
        : UIView(coder)
    {
    }

    // Controls whose tap is their primary action (buttons) send it with touch up inside.
    virtual bool triggersPrimaryActionOnTap() const { return false; }

private:
    struct Action;
    bool isInside(const UITouch& touch) const;

    bool m_isEnabled = true;
    bool m_isSelected = false;
    bool m_isHighlighted = false;
    std::vector<std::shared_ptr<Action>> m_actions;
    bool m_isTracking = false;
    bool m_isTouchInside = false;
};

} // namespace UIKit

#include "Platform/UIKit/UIControl.Event.hpp"
#include "Platform/UIKit/UIControl.State.hpp"
