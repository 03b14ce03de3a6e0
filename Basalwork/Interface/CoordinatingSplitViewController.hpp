#pragma once

#include "Platform/UIKit/UISplitViewController.hpp"

namespace Basalwork {

// Common base of split-view coordinators; the unlocked window's root coordinator is one.
class CoordinatingSplitViewController : public UIKit::UISplitViewController {
protected:
    friend Foundation::Construct;
    using UISplitViewController::UISplitViewController;
};

} // namespace Basalwork
