#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UITextView.hpp"

#include <optional>

namespace Basalwork {

// set(text:): writes only a changed text, so re-applying an unchanged value keeps the caret and
// selection. No text clears a view that has some.
void setText(UIKit::UITextView& textView, const std::optional<Foundation::String>& text);

// Lets the text start at the view's very edges.
void removeContentInsets(UIKit::UITextView& textView);

} // namespace Basalwork
