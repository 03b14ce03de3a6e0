#include "Corvendale/Services/UnexpectedErrorHandling.hpp"

#include "Shared/Metricove/AnalyticsEvent.hpp"
#include "Shared/Metricove/AnalyticsStore.hpp"
#include "Shared/Metricove/TrackableError.hpp"

#include "Basalwork/Interface/AlertController.hpp"

#include "Platform/UIKit/UIAlertAction.Style.hpp"
#include "Platform/UIKit/UIAlertAction.hpp"
#include "Platform/UIKit/UIAlertController.Style.hpp"

namespace Corvendale {

std::shared_ptr<Metricove::AnalyticsStore> UnexpectedErrorHandling::analyticsStore() const
{
    return dependencies().analyticsStore;
}

void UnexpectedErrorHandling::handleUnexpectedError(const Foundation::Error& error, const Foundation::String& function, bool animated)
{
    if (Metricove::shouldTrackInAnalytics(error))
        if (auto store = analyticsStore())
            store->track(Metricove::AnalyticsEvent::error(error, function));
    auto alert = Foundation::make<Basalwork::AlertController>(Foundation::String(alertTitle), Foundation::String(alertMessage),
                                                             UIKit::UIAlertController::Style::alert);
    alert->addAction(Foundation::make<UIKit::UIAlertAction>(Foundation::String("OK"), UIKit::UIAlertAction::Style::default_, nullptr));
    presentViewController(alert, animated, nullptr);
}

} // namespace Corvendale
