#pragma once

#include "Corvendale/Screens/Settings/AutoFillV.TitledStepsV.hpp"

namespace Corvendale {

// AutoFillV.EnableStepsV.SetupVerificationCodesStepsV: how to add one-time passwords from set-up links and QR codes.
class AutoFillVEnableStepsVSetupVerificationCodesStepsV : public AutoFillVTitledStepsV {
protected:
    friend Foundation::Construct;
    AutoFillVEnableStepsVSetupVerificationCodesStepsV();
};

} // namespace Corvendale
