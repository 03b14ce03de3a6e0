#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIViewAnimatingState.hpp"

namespace Basalwork {

// "inactive", "active", "stopped"; "@unknown default" for any other raw value.
Foundation::String description(UIKit::UIViewAnimatingState state);

} // namespace Basalwork
