#include "Basalwork/Interface/UISwipeActionsConfiguration.hpp"

namespace Basalwork {

std::shared_ptr<UIKit::UISwipeActionsConfiguration> UISwipeActionsConfigurations::withActions(
    std::vector<std::shared_ptr<UIKit::UIContextualAction>> actions, bool performsFirstActionWithFullSwipe)
{
    auto configuration = Foundation::make<UIKit::UISwipeActionsConfiguration>(std::move(actions));
    configuration->setPerformsFirstActionWithFullSwipe(performsFirstActionWithFullSwipe);
    return configuration;
}

} // namespace Basalwork
