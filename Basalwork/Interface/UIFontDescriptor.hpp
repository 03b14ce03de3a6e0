#pragma once

#include "Platform/UIKit/UIFont.hpp"
#include "Platform/UIKit/UIFontDescriptor.hpp"

#include <optional>

namespace Basalwork {

// The descriptor's text style, when it describes one.
inline std::optional<UIKit::UIFont::TextStyle> textStyle(const UIKit::UIFontDescriptor& descriptor)
{
    return descriptor.fontAttributes().textStyle;
}

} // namespace Basalwork
