#pragma once

#include "Platform/UIKit/UIBarButtonItem.hpp"

namespace UIKit {

// The platform's raw values: 1 was a bordered style long retired.
enum class UIBarButtonItem::Style : std::int64_t {
    plain = 0,
    done = 2,
};

} // namespace UIKit
