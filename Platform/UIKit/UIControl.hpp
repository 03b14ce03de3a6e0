#pragma once

#include "Platform/UIKit/UIView.hpp"

#include <functional>
#include <vector>

namespace UIKit {

// A view the user operates. It reports what the user did as control events to the actions added for them.
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
    // Runs the actions of every event in `events`, as the control does when the user operates it.
    virtual void sendActions(Event events);

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

private:
    struct Action;

    bool m_isEnabled = true;
    bool m_isSelected = false;
    bool m_isHighlighted = false;
    std::vector<std::shared_ptr<Action>> m_actions;
};

} // namespace UIKit

#include "Platform/UIKit/UIControl.Event.hpp"
#include "Platform/UIKit/UIControl.State.hpp"
