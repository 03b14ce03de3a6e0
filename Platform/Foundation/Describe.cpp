#include "Platform/Foundation/Describe.hpp"

#include <cstdio>

namespace Foundation {

std::string debugQuoted(std::string_view text)
{
    std::string quoted = "\"";
    for (char c : text) {
        switch (c) {
        case '"': quoted += "\\\""; break;
        case '\\': quoted += "\\\\"; break;
        case '\n': quoted += "\\n"; break;
        case '\r': quoted += "\\r"; break;
        case '\t': quoted += "\\t"; break;
        case '\0': quoted += "\\0"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[16];
                std::snprintf(escape, sizeof escape, "\\u{%x}", static_cast<unsigned>(c));
                quoted += escape;
            } else {
                quoted += c;
            }
        }
    }
    return quoted + "\"";
}

} // namespace Foundation
