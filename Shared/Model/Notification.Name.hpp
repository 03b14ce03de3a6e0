#pragma once

#include "Platform/Foundation/Notification.hpp"

namespace Shared {

// Posted by the program's sync coordinator (as the object, on the main queue) after a sync changed the
// records that other parts of the program read outside the record store.
const Foundation::Notification::Name& syncCoordinatorDidUpdateMigration();
const Foundation::Notification::Name& syncCoordinatorDidUpdateOnboarding();
const Foundation::Notification::Name& syncCoordinatorDidUpdateMasterPasswordsOrVaults();
// Another device reset the account's records in iCloud: this installation resets its own copy.
const Foundation::Notification::Name& syncCoordinatorUserDidResetAccountRemotelyNotification();

} // namespace Shared
