#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIBackgroundFetchResult.hpp"

namespace Basalwork {

// "newData", "noData", "failed"; "unknown" for any other raw value.
Foundation::String description(UIKit::UIBackgroundFetchResult result);

} // namespace Basalwork
