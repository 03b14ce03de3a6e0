#include "Corvendale/Screens/Settings/AutoFillV.EnableStepsV.SetupVerificationCodesStepsV.hpp"

#include "Shared/Model/Global.hpp"
#include "Shared/Screens/AutoFillSetupVerificationCodesStepsV.hpp"

namespace Corvendale {

AutoFillVEnableStepsVSetupVerificationCodesStepsV::AutoFillVEnableStepsVSetupVerificationCodesStepsV()
    : AutoFillVTitledStepsV(Foundation::String("AutoFillV.EnableStepsV.SetupVerificationCodesStepsV"),
        Foundation::String("Easily setup one-time passwords in " + Shared::Global::corvendale().utf8()
            + " by right-clicking or long pressing verification code setup links and QR codes:"),
        Foundation::make<Shared::AutoFillSetupVerificationCodesStepsV>())
{
}

} // namespace Corvendale
