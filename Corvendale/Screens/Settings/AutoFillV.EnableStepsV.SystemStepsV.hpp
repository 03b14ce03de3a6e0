#pragma once

#include "Corvendale/Screens/Settings/AutoFillV.TitledStepsV.hpp"

namespace Corvendale {

// AutoFillV.EnableStepsV.SystemStepsV: how to switch AutoFill on in the system's settings.
class AutoFillVEnableStepsVSystemStepsV : public AutoFillVTitledStepsV {
protected:
    friend Foundation::Construct;
    AutoFillVEnableStepsVSystemStepsV();
};

} // namespace Corvendale
