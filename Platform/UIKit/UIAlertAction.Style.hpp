#pragma once

#include "Platform/UIKit/UIAlertAction.hpp"

namespace UIKit {

enum class UIAlertAction::Style : std::int64_t {
    default_ = 0,
    cancel = 1,
    destructive = 2,
};

} // namespace UIKit
