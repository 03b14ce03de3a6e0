#pragma once

#include "Platform/UIKit/UITabBarController.hpp"

namespace Basalwork {

// Common base of tab-bar coordinators.
class CoordinatingTabBarController : public UIKit::UITabBarController {
protected:
    friend Foundation::Construct;
    using UITabBarController::UITabBarController;
};

} // namespace Basalwork
