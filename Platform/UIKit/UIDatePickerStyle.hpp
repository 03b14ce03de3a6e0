#pragma once

#include <cstdint>

namespace UIKit {

enum class UIDatePickerStyle : std::int64_t {
    automatic = 0,
    wheels = 1,
    compact = 2,
    inline_ = 3,
};

} // namespace UIKit
