#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/CGPoint.hpp"

#include <cstdint>
#include <memory>

namespace UIKit {

class UIEventDriver;
class UIView;
class UIWindow;

// One finger (or pointer button) on a window, from touching down to lifting. Its view is the one the
// window hit-tested when it began, and it stays with that view to the end.
class UITouch : public Foundation::NSObject {
public:
    enum class Phase : std::int64_t;

    Phase phase() const { return m_phase; }
    std::shared_ptr<UIWindow> window() const { return m_window.lock(); }
    std::shared_ptr<UIView> view() const { return m_view.lock(); }
    // In the coordinates of `in`; of the window when null.
    CGPoint location(const std::shared_ptr<UIView>& in) const;

protected:
    friend Foundation::Construct;
    UITouch(const std::shared_ptr<UIWindow>& window, CGPoint locationInWindow, Phase phase);

private:
    friend class UIApplication;
    friend class UIEventDriver;
    friend class UIWindow;
    Phase m_phase;
    std::weak_ptr<UIWindow> m_window;
    std::weak_ptr<UIView> m_view;
    CGPoint m_locationInWindow;
};

} // namespace UIKit

#include "Platform/UIKit/UITouch.Phase.hpp"
