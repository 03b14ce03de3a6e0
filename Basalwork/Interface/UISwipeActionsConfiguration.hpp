#pragma once

#include "Platform/UIKit/UIContextualAction.hpp"
#include "Platform/UIKit/UISwipeActionsConfiguration.hpp"

#include <memory>
#include <vector>

namespace Basalwork {

struct UISwipeActionsConfigurations {
    // init(actions:performsFirstActionWithFullSwipe:)
    static std::shared_ptr<UIKit::UISwipeActionsConfiguration> withActions(
        std::vector<std::shared_ptr<UIKit::UIContextualAction>> actions, bool performsFirstActionWithFullSwipe);
};

} // namespace Basalwork
