#pragma once

#include "Corvendale/Screens/Settings/AutoFillV_AutoCopyOTPV_Delegate.hpp"
#include "Corvendale/Screens/Settings/SettingsV_HeaderV_Delegate.hpp"

namespace Corvendale {

class AutoFillVDelegate : public AutoFillV_AutoCopyOTPV_Delegate, public SettingsV_HeaderV_Delegate { };

} // namespace Corvendale
