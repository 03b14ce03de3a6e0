#include "Corvendale/Screens/Settings/AutoFillV.EnableStepsV.SystemStepsV.hpp"

#include "Shared/Model/Global.hpp"
#include "Shared/Screens/AutoFillSystemStepsV.hpp"

#include "Basalwork/Base/Global.Platform.hpp"

namespace Corvendale {

AutoFillVEnableStepsVSystemStepsV::AutoFillVEnableStepsVSystemStepsV()
    : AutoFillVTitledStepsV(Foundation::String("AutoFillV.EnableStepsV.SystemStepsV"),
        Foundation::String("Enable " + Shared::Global::AutoFill::name().utf8() + " in "
            + Basalwork::Global::Platform(Basalwork::Global::Platform::macOS).systemSettingsAppName().utf8() + ":"),
        Foundation::make<Shared::AutoFillSystemStepsV>(Shared::AutoFillSystemStepsV::Action::enable))
{
}

} // namespace Corvendale
