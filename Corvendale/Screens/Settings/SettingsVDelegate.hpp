#pragma once

#include "Corvendale/Screens/Settings/SettingsV_HeaderV_Delegate.hpp"

namespace Corvendale {

class SettingsVDelegate : public SettingsV_HeaderV_Delegate { };

} // namespace Corvendale
