#pragma once

#include "Corvendale/Screens/Settings/AutoFillV.TitledStepsV.hpp"

namespace Corvendale {

// AutoFillV.DisableStepsV: how to switch AutoFill off again.
class AutoFillVDisableStepsV : public AutoFillVTitledStepsV {
protected:
    friend Foundation::Construct;
    AutoFillVDisableStepsV();
};

} // namespace Corvendale
