#include "Corvendale/Screens/Settings/AutoFillV.DisableStepsV.hpp"

#include "Shared/Model/Global.hpp"
#include "Shared/Screens/AutoFillSystemStepsV.hpp"

#include "Basalwork/Base/Global.Platform.hpp"

namespace Corvendale {

AutoFillVDisableStepsV::AutoFillVDisableStepsV()
    : AutoFillVTitledStepsV(Foundation::String("DisableStepsV"),
        Foundation::String("For future reference, " + Shared::Global::AutoFill::name().utf8() + " can be disabled in "
            + Basalwork::Global::Platform(Basalwork::Global::Platform::macOS).systemSettingsAppName().utf8() + ":"),
        Foundation::make<Shared::AutoFillSystemStepsV>(Shared::AutoFillSystemStepsV::Action::disable))
{
}

} // namespace Corvendale
