#pragma once

#include "Shared/Screens/AutoFillStepsV.hpp"

namespace Shared {

// How to add a one-time password from a verification code set-up link or QR code.
class AutoFillSetupVerificationCodesStepsV : public AutoFillStepsV {
protected:
    friend Foundation::Construct;
    AutoFillSetupVerificationCodesStepsV();
};

} // namespace Shared
