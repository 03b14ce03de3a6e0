#pragma once

#include "Shared/Model/Settings.AutoFill.hpp"

namespace Corvendale {

class AutoFillVAutoCopyOTPV;

class AutoFillV_AutoCopyOTPV_Delegate {
public:
    virtual ~AutoFillV_AutoCopyOTPV_Delegate() = default;
    virtual void didSelect(Shared::Settings::AutoFill::AutoCopyOTP autoCopyOTP, AutoFillVAutoCopyOTPV& autoCopyOTPV) = 0;
};

} // namespace Corvendale
