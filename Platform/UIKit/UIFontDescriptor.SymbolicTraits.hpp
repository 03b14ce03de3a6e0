#pragma once

#include "Platform/UIKit/UIFontDescriptor.hpp"

#include <cstdint>

namespace UIKit {

struct UIFontDescriptor::SymbolicTraits {
    std::uint32_t rawValue = 0;

    static constexpr SymbolicTraits traitItalic() { return {1u << 0}; }
    static constexpr SymbolicTraits traitBold() { return {1u << 1}; }
    static constexpr SymbolicTraits traitExpanded() { return {1u << 5}; }
    static constexpr SymbolicTraits traitCondensed() { return {1u << 6}; }
    static constexpr SymbolicTraits traitMonoSpace() { return {1u << 10}; }

    constexpr bool contains(SymbolicTraits other) const { return (rawValue & other.rawValue) == other.rawValue; }

    friend constexpr SymbolicTraits operator|(SymbolicTraits lhs, SymbolicTraits rhs)
    {
        return {lhs.rawValue | rhs.rawValue};
    }
    friend constexpr bool operator==(const SymbolicTraits&, const SymbolicTraits&) = default;
};

} // namespace UIKit
