#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIContextualAction.hpp"

#include <memory>
#include <optional>

namespace Basalwork {

struct UIContextualActions {
    // init(style:title:backgroundColor:handler:)
    static std::shared_ptr<UIKit::UIContextualAction> withStyle(UIKit::UIContextualAction::Style style,
                                                                std::optional<Foundation::String> title,
                                                                std::shared_ptr<UIKit::UIColor> backgroundColor,
                                                                UIKit::UIContextualAction::Handler handler);
};

} // namespace Basalwork
