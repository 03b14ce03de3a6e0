#include "Corvendale/Screens/Settings/ResetC.hpp"

#include "Corvendale/Services/Dependencies.hpp"

#include "Shared/Stores/AuthenticationStore.hpp"

#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Interface/AlertController.hpp"

#include "Platform/UIKit/UIAlertAction.Style.hpp"
#include "Platform/UIKit/UIAlertAction.hpp"
#include "Platform/UIKit/UIAlertController.Style.hpp"
#include "Platform/UIKit/UIAlertController.hpp"

namespace Corvendale {

using Foundation::String;

std::shared_ptr<ResetV> ResetC::makePageView()
{
    return Foundation::make<ResetV>(sharedSelf(this));
}

void ResetC::presentClearLocalCacheConfirmation(bool animated)
{
    auto alert = Foundation::make<Basalwork::AlertController>(
        String("Clear Locally Cached Data"),
        String("All locally cached data will be permanently removed from this device and replaced with the data in your iCloud account.\n\nAny unsynced changes will be lost!\n\nThis CANNOT be undone!!!"),
        UIKit::UIAlertController::Style::alert);
    alert->addAction(Foundation::make<UIKit::UIAlertAction>(String("Cancel"), UIKit::UIAlertAction::Style::cancel, nullptr));
    std::weak_ptr<ResetC> weakSelf = sharedSelf(this);
    alert->addAction(Foundation::make<UIKit::UIAlertAction>(String("Clear Locally Cached Data"), UIKit::UIAlertAction::Style::destructive,
                                                            [weakSelf, animated](const std::shared_ptr<UIKit::UIAlertAction>&) {
                                                                auto self = weakSelf.lock();
                                                                if (!self)
                                                                    return;
                                                                if (auto delegate = self->delegate()) {
                                                                    delegate->didConfirmClearLocalCache(*self);
                                                                    return;
                                                                }
                                                                self->handleUnexpectedError(
                                                                    Basalwork::GeneralError::failedWithMessage(
                                                                        "ResetC unable to clear local cache while delegate is nil."),
                                                                    String("presentClearLocalCacheConfirmation(animated:)"), animated);
                                                            }));
    present(alert, animated);
}

void ResetC::didSelectClearLocalCache(ResetV&)
{
    presentClearLocalCacheConfirmation(true);
}

void ResetC::didSelectResetAccount(ResetV&)
{
    // The lock screen follows the store from here.
    if (delegate())
        dependencies().authenticationStore->beginResettingAccount();
}

void ResetC::didSelectDone(SettingsVHeaderV&)
{
    dismissFromDelegate();
}

} // namespace Corvendale
