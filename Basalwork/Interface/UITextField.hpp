#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UITextField.hpp"

#include <memory>
#include <optional>

namespace UIKit {
class UIColor;
}

namespace Basalwork {

// set(text:): writes only a changed text, so re-applying an unchanged value keeps the caret and
// selection. No text clears a field that has some.
void setText(UIKit::UITextField& field, const std::optional<Foundation::String>& text);

// set(placeholderText:withColor:): a blank or missing text removes the placeholder; any other is shown
// untrimmed, in the colour when one is given.
void setPlaceholderText(UIKit::UITextField& field, const std::optional<Foundation::String>& placeholderText,
                        const std::shared_ptr<UIKit::UIColor>& withColor);

} // namespace Basalwork
