#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIControl.hpp"

namespace Basalwork {

// UIControl.Event.description: a single named event or named group as ".name"; any other value,
// combinations of single events included, is "unknown".
Foundation::String description(UIKit::UIControl::Event event);

} // namespace Basalwork
