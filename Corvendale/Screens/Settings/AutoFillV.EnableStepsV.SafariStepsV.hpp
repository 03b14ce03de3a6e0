#pragma once

#include "Corvendale/Screens/Settings/AutoFillV.TitledStepsV.hpp"

namespace Corvendale {

// AutoFillV.EnableStepsV.SafariStepsV: how to let the browser fill in passwords.
class AutoFillVEnableStepsVSafariStepsV : public AutoFillVTitledStepsV {
protected:
    friend Foundation::Construct;
    AutoFillVEnableStepsVSafariStepsV();
};

} // namespace Corvendale
