#pragma once

#include <cstddef>
#include <string_view>

namespace Basalwork {

// Whether the bytes are well-formed UTF-8 as the standard defines it: no overlong forms, surrogates,
// scalars past U+10FFFF or cut sequences. Thirty-two bytes at a time where the processor allows.
bool isValidUTF8(std::string_view text);
// The length of the longest start of the bytes that is well-formed UTF-8: where the first fault begins.
std::size_t validUTF8PrefixLength(std::string_view text);

} // namespace Basalwork
