#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIButton.hpp"

#include <optional>

namespace Basalwork {

// set(title:for:animated:). Not animated, the title is set and laid out with animations off, so it
// changes at once instead of cross-fading.
void setTitle(UIKit::UIButton& button, const std::optional<Foundation::String>& title, UIKit::UIControl::State forState,
              bool animated);

} // namespace Basalwork
