#include "Shared/Screens/AutoFillSafariStepsV.hpp"

namespace Shared {

AutoFillSafariStepsV::AutoFillSafariStepsV()
    : AutoFillStepsV({Foundation::String("Open the browser's settings"), Foundation::String("Select AutoFill"),
        Foundation::String("Turn on filling in user names and passwords")})
{
}

} // namespace Shared
