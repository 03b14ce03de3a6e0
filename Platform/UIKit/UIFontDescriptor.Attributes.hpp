#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/UIFont.hpp"
#include "Platform/UIKit/UIFontDescriptor.hpp"

#include <optional>

namespace UIKit {

// The attributes a descriptor holds; an absent one is not part of the description.
struct UIFontDescriptor::Attributes {
    // The face's name; absent for the system font.
    std::optional<Foundation::String> name;
    std::optional<CGFloat> size;
    std::optional<UIFont::TextStyle> textStyle;
    std::optional<Traits> traits;
    std::optional<SystemDesign> design;

    friend bool operator==(const Attributes&, const Attributes&) = default;
};

} // namespace UIKit
