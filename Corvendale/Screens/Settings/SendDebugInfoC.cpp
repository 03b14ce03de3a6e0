#include "Corvendale/Screens/Settings/SendDebugInfoC.hpp"

#include "Corvendale/Screens/Details/MailCoordinator.hpp"
#include "Corvendale/Services/Dependencies.hpp"

#include "Shared/Metricove/AnalyticsStore.hpp"
#include "Shared/Model/Global.hpp"
#include "Shared/Screens/UIAlertController.hpp"

#include "Basalwork/Interface/AlertController.hpp"
#include "Basalwork/Interface/PresentationSource.hpp"
#include "Basalwork/Interface/UIPopoverPresentationController.hpp"

#include "Platform/Foundation/UUID.hpp"
#include "Platform/UIKit/UIAlertAction.Style.hpp"
#include "Platform/UIKit/UIAlertAction.hpp"
#include "Platform/UIKit/UIAlertController.Style.hpp"
#include "Platform/UIKit/UIView.hpp"

namespace Corvendale {

void SendDebugInfoC::sendAnalyticsID(UIKit::UIViewController& presentingViewController, bool animated)
{
    const auto identifier = dependencies().analyticsStore->analyticsIdentifier().uuidString();
    MailCoordinator::compose(Shared::Global::Contact::infoEmailAddress(), Foundation::String(subject), Foundation::String("Analytics ID: " + identifier.utf8()),
                             std::nullopt, Foundation::String("Sending Analytics ID"), presentingViewController, animated);
}

void presentSendDebugInfoOptions(UIKit::UIViewController& presenter, const std::shared_ptr<UIKit::UIView>& sourceView, bool animated)
{
    auto sheet = Foundation::make<Basalwork::AlertController>(
        Foundation::String("Send Debug Information"),
        Foundation::String("Please select the type(s) of debug information you'd like to send to us."), UIKit::UIAlertController::Style::actionSheet);
    if (auto popover = sheet->popoverPresentationController(); popover && sourceView)
        Basalwork::setPresentationSource(*popover, Basalwork::PresentationSource::view(sourceView));
    std::weak_ptr<UIKit::UIViewController> weakPresenter = std::static_pointer_cast<UIKit::UIViewController>(presenter.shared_from_this());
    sheet->addAction(Foundation::make<UIKit::UIAlertAction>(Foundation::String("Analytics ID Only"), UIKit::UIAlertAction::Style::default_,
                                                            [weakPresenter, animated](const auto&) {
                                                                if (auto presenter = weakPresenter.lock())
                                                                    SendDebugInfoC::sendAnalyticsID(*presenter, animated);
                                                            }));
    sheet->addAction(Foundation::make<UIKit::UIAlertAction>(Foundation::String("Cancel"), UIKit::UIAlertAction::Style::cancel, nullptr));
    presenter.present(sheet, animated);
}

} // namespace Corvendale
