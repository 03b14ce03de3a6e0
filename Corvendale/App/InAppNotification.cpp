#include "Corvendale/App/InAppNotification.hpp"

namespace Corvendale {

Foundation::String InAppNotification::description() const
{
    return titleText + Foundation::String(" (") + subtitleText.value_or(Foundation::String("nil")) + Foundation::String(")");
}

} // namespace Corvendale
