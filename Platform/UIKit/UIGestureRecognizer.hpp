#pragma once

#include "Platform/Foundation/NSObject.hpp"

#include <functional>
#include <memory>

namespace UIKit {

class UITouch;
class UIView;

// Recognises a gesture in the touches that reach its view or the view's subviews and then calls its
// action. Attached with `UIView::addGestureRecognizer`, which makes the view its owner.
class UIGestureRecognizer : public Foundation::NSObject {
public:
    std::shared_ptr<UIView> view() const { return m_view.lock(); }
    bool isEnabled() const { return m_isEnabled; }
    void setIsEnabled(bool enabled) { m_isEnabled = enabled; }

    // Asked by the window for a touch that ended; true when the gesture was recognised and its action ran.
    virtual bool touchEnded(const UITouch& touch) = 0;

protected:
    // init(target:action:): the action, bound to its target, is the callable; it is given the recogniser.
    explicit UIGestureRecognizer(std::function<void(UIGestureRecognizer&)> action)
        : m_action(std::move(action))
    {
    }
    void performAction()
    {
        if (m_action)
            m_action(*this);
    }

private:
    friend class UIView;
    std::function<void(UIGestureRecognizer&)> m_action;
    std::weak_ptr<UIView> m_view;
    bool m_isEnabled = true;
};

} // namespace UIKit
