#pragma once

#include <cstdint>
#include <string>

namespace Basalwork {

// Types the kit nests in the array type.
struct Array {
    // The word before the last item of a list in prose.
    enum class OxfordCommaMode : std::uint8_t { and_, or_ };
};

// The case name: the word that goes into the list.
inline std::string describe(Array::OxfordCommaMode mode)
{
    return mode == Array::OxfordCommaMode::and_ ? "and" : "or";
}

} // namespace Basalwork
