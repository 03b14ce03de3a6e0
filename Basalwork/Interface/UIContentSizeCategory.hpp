#pragma once

#include "Platform/UIKit/UIContentSizeCategory.hpp"

#include <optional>

namespace Basalwork {

// The next smaller text size; the smallest size, and any value that is no size, give themselves.
UIKit::UIContentSizeCategory oneLower(const UIKit::UIContentSizeCategory& category);

// The application's bounds on the user's text size; none at start. Changing one posts
// `UIContentSizeCategory::didChangeNotification()` on the default centre so that every registered view
// rescales at once; setting the value a bound already has posts nothing.
const std::optional<UIKit::UIContentSizeCategory>& globalMinimum();
void setGlobalMinimum(std::optional<UIKit::UIContentSizeCategory> category);
const std::optional<UIKit::UIContentSizeCategory>& globalMaximum();
void setGlobalMaximum(std::optional<UIKit::UIContentSizeCategory> category);
void postPreferredContextSizeCategoryDidChangeNotification();

// The category kept within the global bounds; bounds that contradict each other are ignored.
UIKit::UIContentSizeCategory clampedToGlobalBounds(const UIKit::UIContentSizeCategory& category);

} // namespace Basalwork
