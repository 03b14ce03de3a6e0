// The parent is included outside the guard: its closing includes then define the nested types in the
// order they depend on one another, whichever of them a file includes first.
#include "Platform/UIKit/UIFontDescriptor.hpp"

#ifndef UIKIT_UIFONTDESCRIPTOR_TRAITS_HPP
#define UIKIT_UIFONTDESCRIPTOR_TRAITS_HPP

#include "Platform/UIKit/UIFont.hpp"

#include <optional>

namespace UIKit {

// The traits attribute of a descriptor: the entries it holds, each optional.
struct UIFontDescriptor::Traits {
    std::optional<UIFont::Weight> weight;
    std::optional<SymbolicTraits> symbolicTraits;

    friend bool operator==(const Traits&, const Traits&) = default;
};

} // namespace UIKit

#endif // UIKIT_UIFONTDESCRIPTOR_TRAITS_HPP
