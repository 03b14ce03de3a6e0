#pragma once

#include "Shared/Screens/AutoFillStepsV.hpp"

namespace Shared {

// How to let the browser fill in passwords from AutoFill.
class AutoFillSafariStepsV : public AutoFillStepsV {
protected:
    friend Foundation::Construct;
    AutoFillSafariStepsV();
};

} // namespace Shared
