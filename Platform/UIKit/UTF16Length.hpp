#pragma once

#include <cstdint>
#include <string_view>

namespace UIKit {

// How many UTF-16 units the UTF-8 text takes: the unit of the ranges text delegates are given.
inline std::int64_t utf16Length(std::string_view text)
{
    std::int64_t length = 0;
    for (unsigned char byte : text) {
        if ((byte & 0xC0) != 0x80)
            length += byte >= 0xF0 ? 2 : 1; // a four-byte sequence is a surrogate pair
    }
    return length;
}

} // namespace UIKit
