#include "Basalwork/Interface/Notification.Name.hpp"

namespace Basalwork {

const Foundation::Notification::Name& uiInteractionDidOccur()
{
    static const auto& name = *new Foundation::Notification::Name("uiInteractionDidOccur");
    return name;
}

} // namespace Basalwork
