#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/KeyValueCoding.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIPickerView.hpp"

#include <memory>

namespace Basalwork {

// Light appearance with white text, for wheels on a dark background.
void setupWithLightText(UIKit::UIPickerView& picker);
// The text colour set by key, when it is a colour.
std::shared_ptr<UIKit::UIColor> textColor(const UIKit::UIPickerView& picker);
void setTextColor(UIKit::UIPickerView& picker, const std::shared_ptr<UIKit::UIColor>& color);

namespace detail {
// A colour kept by key: nothing when the key holds anything else; setting nil removes the key.
std::shared_ptr<UIKit::UIColor> colorValue(const UIKit::KeyValueCoding& object, const Foundation::String& key);
void setColorValue(UIKit::KeyValueCoding& object, const Foundation::String& key,
                   const std::shared_ptr<UIKit::UIColor>& color);
} // namespace detail

} // namespace Basalwork
