#pragma once

#include "Platform/UIKit/UIFont.hpp"
#include "Platform/UIKit/UIFontDescriptor.hpp"

#include <optional>

namespace UIKit {

// The traits attribute of a descriptor: the entries it holds, each optional.
struct UIFontDescriptor::Traits {
    std::optional<UIFont::Weight> weight;
    std::optional<SymbolicTraits> symbolicTraits;

    friend bool operator==(const Traits&, const Traits&) = default;
};

} // namespace UIKit
