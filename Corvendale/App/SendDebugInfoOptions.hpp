#pragma once

#include <memory>

namespace UIKit {
class UIView;
class UIViewController;
} // namespace UIKit

namespace Corvendale {

// presentSendDebugInfoOptions(sourceView:animated:): the sheet "Send Debug Information", anchored at the
// source view when it shows as a pop-over. "Analytics ID Only" drafts a mail with this installation's
// analytics identifier; without a mail program the unable-to-send-mail notice shows instead.
void presentSendDebugInfoOptions(UIKit::UIViewController& presenter, const std::shared_ptr<UIKit::UIView>& sourceView, bool animated);

} // namespace Corvendale
