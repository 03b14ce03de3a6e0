#include "Basalwork/Interface/Notification.Name.hpp"

namespace Basalwork {

const Foundation::Notification::Name& uiInteractionDidOccur()
{
    static const Foundation::Notification::Name name("uiInteractionDidOccur");
    return name;
}

} // namespace Basalwork
