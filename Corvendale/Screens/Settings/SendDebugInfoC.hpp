#pragma once

#include <memory>

namespace UIKit {
class UIView;
class UIViewController;
} // namespace UIKit

namespace Corvendale {

// Sends the developers this installation's analytics identifier, and nothing else, as a mail draft.
class SendDebugInfoC {
public:
    static constexpr const char* subject = "Debug Information: Analytics ID Only";

    SendDebugInfoC() = delete;
    // A "mailto:" draft with the identifier opened in the mail program; without one, the
    // unable-to-send-mail notice from the presenter.
    static void sendAnalyticsID(UIKit::UIViewController& presentingViewController, bool animated);
};

// presentSendDebugInfoOptions(sourceView:animated:): the sheet "Send Debug Information" from the
// presenter, pointing at the source view when it shows as a pop-over; its one choice is the analytics
// identifier.
void presentSendDebugInfoOptions(UIKit::UIViewController& presenter, const std::shared_ptr<UIKit::UIView>& sourceView, bool animated);

} // namespace Corvendale
