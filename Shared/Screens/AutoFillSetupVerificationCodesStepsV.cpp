#include "Shared/Screens/AutoFillSetupVerificationCodesStepsV.hpp"

#include "Shared/Model/Global.hpp"

namespace Shared {

AutoFillSetupVerificationCodesStepsV::AutoFillSetupVerificationCodesStepsV()
    : AutoFillStepsV({Foundation::String("Right-click or long press a verification code setup link or QR code"),
        Foundation::String("Choose to set up the verification code with " + Global::corvendale().utf8()),
        Foundation::String("Pick the item the code belongs to")})
{
}

} // namespace Shared
