#pragma once

#include "Platform/UIKit/UIContextualAction.hpp"

namespace UIKit {

enum class UIContextualAction::Style : std::int64_t {
    normal = 0,
    destructive = 1,
};

} // namespace UIKit
