#pragma once

#include "Platform/UIKit/UISplitViewController.hpp"

namespace Basalwork {

inline bool isExpanded(const UIKit::UISplitViewController& splitViewController)
{
    return !splitViewController.isCollapsed();
}

} // namespace Basalwork
