#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIApplication.hpp"

namespace Basalwork {

// "active", "inactive", "background"; "unknown default" for any other raw value.
Foundation::String description(UIKit::UIApplication::State state);
bool isBackground(UIKit::UIApplication::State state);
bool isBackgroundOrInactive(UIKit::UIApplication::State state);
bool isActive(UIKit::UIApplication::State state);

// Opens the application's own page in the system's settings; does nothing when the system's settings
// URL text is no URL.
void openSettingsAppAtAppsCustomSettingsScreen(UIKit::UIApplication& application);

} // namespace Basalwork
