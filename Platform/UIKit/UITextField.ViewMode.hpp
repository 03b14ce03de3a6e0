#pragma once

#include "Platform/UIKit/UITextField.hpp"

#include <cstdint>

namespace UIKit {

// When an overlay of a text field shows.
enum class UITextField::ViewMode : std::int64_t {
    never = 0,
    whileEditing = 1,
    unlessEditing = 2,
    always = 3,
};

} // namespace UIKit
