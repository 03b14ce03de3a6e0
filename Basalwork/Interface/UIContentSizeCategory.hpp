#pragma once

#include "Platform/UIKit/UIContentSizeCategory.hpp"

namespace Basalwork {

// The next smaller text size; the smallest size, and any value that is no size, give themselves.
UIKit::UIContentSizeCategory oneLower(const UIKit::UIContentSizeCategory& category);

} // namespace Basalwork
