#include "Corvendale/Screens/Settings/AutoFillV.EnableStepsV.SafariStepsV.hpp"

#include "Shared/Screens/AutoFillSafariStepsV.hpp"

namespace Corvendale {

AutoFillVEnableStepsVSafariStepsV::AutoFillVEnableStepsVSafariStepsV()
    : AutoFillVTitledStepsV(Foundation::String("AutoFillV.EnableStepsV.SafariStepsV"), Foundation::String("Enable password AutoFill in Safari:"),
        Foundation::make<Shared::AutoFillSafariStepsV>())
{
}

} // namespace Corvendale
