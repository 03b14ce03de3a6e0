#include "Corvendale/Screens/Settings/AutoFillC.hpp"

#include "Corvendale/Services/Dependencies.hpp"

#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Stores/UserNotificationStore.hpp"

namespace Corvendale {

using AutoCopyOTP = Shared::Settings::AutoFill::AutoCopyOTP;

std::shared_ptr<AutoFillV> AutoFillC::makePageView()
{
    return Foundation::make<AutoFillV>(sharedSelf(this));
}

AutoFillV::Config AutoFillC::makeConfig()
{
    const auto& services = dependencies();
    return AutoFillV::Config(services.recordStore->autoFillAvailability(), services.preferenceStore->autoCopyOTP(),
        services.userNotificationStore->isNotificationPermissionMissing());
}

void AutoFillC::startObserving()
{
    SettingsPageC::startObserving();
    const auto& services = dependencies();
    observe(Shared::RecordStore::recordStoreDidUpdateAutoFillAvailability(), services.recordStore);
    observe(Shared::UserNotificationStore::userNotificationStoreDidUpdate(), services.userNotificationStore);
}

void AutoFillC::didSelect(AutoCopyOTP autoCopyOTP, AutoFillVAutoCopyOTPV&)
{
    // The stores' notifications bring the new choice, and later the answer, back to the page.
    const auto& services = dependencies();
    services.preferenceStore->setAutoCopyOTP(autoCopyOTP);
    if (autoCopyOTP == AutoCopyOTP::enabled)
        services.userNotificationStore->requestNotificationPermission();
}

void AutoFillC::didSelectDone(SettingsVHeaderV&)
{
    if (auto presenter = delegate())
        presenter->didSelectDone(*this);
}

} // namespace Corvendale
