#pragma once

#include "Platform/UIKit/UIViewController.hpp"

namespace UIKit {

// Shows its columns side by side, or collapsed into one when space is short. Nothing decides the space
// here, so whether it is collapsed is set by the program's driver and by tests.
class UISplitViewController : public UIViewController {
public:
    bool isCollapsed() const { return m_isCollapsed; }
    void setIsCollapsed(bool collapsed) { m_isCollapsed = collapsed; }

protected:
    friend Foundation::Construct;
    UISplitViewController() = default;

private:
    bool m_isCollapsed = false;
};

} // namespace UIKit
