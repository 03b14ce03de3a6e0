#pragma once

#include "Corvendale/Screens/Settings/SettingsV_HeaderV_Delegate.hpp"

namespace Corvendale {

class ResetV;

class ResetVDelegate : public SettingsV_HeaderV_Delegate {
public:
    virtual void didSelectClearLocalCache(ResetV& resetV) = 0;
    virtual void didSelectResetAccount(ResetV& resetV) = 0;
};

} // namespace Corvendale
