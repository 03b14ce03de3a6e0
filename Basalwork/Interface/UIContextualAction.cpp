#include "Basalwork/Interface/UIContextualAction.hpp"

namespace Basalwork {

std::shared_ptr<UIKit::UIContextualAction> UIContextualActions::withStyle(UIKit::UIContextualAction::Style style,
                                                                          std::optional<Foundation::String> title,
                                                                          std::shared_ptr<UIKit::UIColor> backgroundColor,
                                                                          UIKit::UIContextualAction::Handler handler)
{
    auto action = Foundation::make<UIKit::UIContextualAction>(style, std::move(title), std::move(handler));
    action->setBackgroundColor(std::move(backgroundColor));
    return action;
}

} // namespace Basalwork
