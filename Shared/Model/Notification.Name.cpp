#include "Shared/Model/Notification.Name.hpp"

namespace Shared {

const Foundation::Notification::Name& syncCoordinatorDidUpdateMigration()
{
    static const auto& name = *new Foundation::Notification::Name("syncCoordinatorDidUpdateMigration");
    return name;
}

const Foundation::Notification::Name& syncCoordinatorDidUpdateOnboarding()
{
    static const auto& name = *new Foundation::Notification::Name("syncCoordinatorDidUpdateOnboarding");
    return name;
}

const Foundation::Notification::Name& syncCoordinatorDidUpdateMasterPasswordsOrVaults()
{
    static const auto& name = *new Foundation::Notification::Name("syncCoordinatorDidUpdateMasterPasswordsOrVaults");
    return name;
}

const Foundation::Notification::Name& syncCoordinatorUserDidResetAccountRemotelyNotification()
{
    static const auto& name = *new Foundation::Notification::Name("syncCoordinatorUserDidResetAccountRemotelyNotification");
    return name;
}

} // namespace Shared
