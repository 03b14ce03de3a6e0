#pragma once

#include "Corvendale/Screens/Settings/SettingsTVCDelegate.hpp"
#include "Corvendale/Screens/Settings/SettingsVDelegate.hpp"

namespace Corvendale {

// Everything on the settings screen reports to one object, the settings coordinator.
class SettingsVCDelegate : public SettingsTVCDelegate, public SettingsVDelegate { };

} // namespace Corvendale
