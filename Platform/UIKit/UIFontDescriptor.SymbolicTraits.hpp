// The parent is included outside the guard: its closing includes then define the nested types in the
// order they depend on one another, whichever of them a file includes first.
#include "Platform/UIKit/UIFontDescriptor.hpp"

#ifndef UIKIT_UIFONTDESCRIPTOR_SYMBOLICTRAITS_HPP
#define UIKIT_UIFONTDESCRIPTOR_SYMBOLICTRAITS_HPP

#include "Platform/Foundation/OptionSet.hpp"

#include <cstdint>

namespace UIKit {

struct UIFontDescriptor::SymbolicTraits : Foundation::OptionSet<UIFontDescriptor::SymbolicTraits, std::uint32_t> {
    static constexpr SymbolicTraits traitItalic() { return {1u << 0}; }
    static constexpr SymbolicTraits traitBold() { return {1u << 1}; }
    static constexpr SymbolicTraits traitExpanded() { return {1u << 5}; }
    static constexpr SymbolicTraits traitCondensed() { return {1u << 6}; }
    static constexpr SymbolicTraits traitMonoSpace() { return {1u << 10}; }
};

} // namespace UIKit

#endif // UIKIT_UIFONTDESCRIPTOR_SYMBOLICTRAITS_HPP
