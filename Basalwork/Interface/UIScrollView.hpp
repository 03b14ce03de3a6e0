#pragma once

#include "Platform/UIKit/UIScrollView.hpp"

namespace Basalwork {

// Shows the top of the content, below the top inset.
void scrollToTop(UIKit::UIScrollView& scrollView, bool animated);
// Scrolls the last point row of the content into view.
void scrollToBottom(UIKit::UIScrollView& scrollView, bool animated);

} // namespace Basalwork
