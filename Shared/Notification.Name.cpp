#include "Shared/Notification.Name.hpp"

namespace Shared {

const Foundation::Notification::Name& syncCoordinatorDidUpdateMigration()
{
    static const Foundation::Notification::Name name("syncCoordinatorDidUpdateMigration");
    return name;
}

const Foundation::Notification::Name& syncCoordinatorDidUpdateOnboarding()
{
    static const Foundation::Notification::Name name("syncCoordinatorDidUpdateOnboarding");
    return name;
}

const Foundation::Notification::Name& syncCoordinatorDidUpdateMasterPasswordsOrVaults()
{
    static const Foundation::Notification::Name name("syncCoordinatorDidUpdateMasterPasswordsOrVaults");
    return name;
}

const Foundation::Notification::Name& syncCoordinatorUserDidResetAccountRemotelyNotification()
{
    static const Foundation::Notification::Name name("syncCoordinatorUserDidResetAccountRemotelyNotification");
    return name;
}

} // namespace Shared
