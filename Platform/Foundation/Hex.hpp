#pragma once

namespace Foundation {

// The value of one hexadecimal digit of either case, or -1.
constexpr int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Upper-case digits, as URLs and identifiers are written.
inline constexpr char upperHexDigits[] = "0123456789ABCDEF";

} // namespace Foundation
