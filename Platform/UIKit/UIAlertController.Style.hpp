#pragma once

#include "Platform/UIKit/UIAlertController.hpp"

namespace UIKit {

enum class UIAlertController::Style : std::int64_t {
    actionSheet = 0,
    alert = 1,
};

} // namespace UIKit
