#include "Platform/Foundation/Describe.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

namespace Foundation {
namespace {

// `largest` is the magnitude above which the plain form would show digits the value does not have.
template <class T>
std::string describeFloatingPoint(T value, T largest)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    if (value == 0)
        return std::signbit(value) ? "-0.0" : "0.0";

    // The shortest digits that read back as the value, as d.ddde±x.
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    std::string scientific(buffer, result.ptr);
    const bool negative = scientific.front() == '-';
    if (negative)
        scientific.erase(0, 1);
    const auto e = scientific.find('e');
    std::string digits = scientific.substr(0, e);
    digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());
    const int exponent = std::atoi(scientific.c_str() + e + 1);

    std::string text = negative ? "-" : "";
    if (exponent < -4 || std::fabs(value) > largest) {
        text += digits.substr(0, 1);
        if (digits.size() > 1)
            text += "." + digits.substr(1);
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        return text + suffix;
    }
    if (exponent < 0)
        return text + "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    const auto wholeDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= wholeDigits)
        return text + digits + std::string(wholeDigits - digits.size(), '0') + ".0";
    return text + digits.substr(0, wholeDigits) + "." + digits.substr(wholeDigits);
}

} // namespace

std::string describe(double value)
{
    return describeFloatingPoint(value, 0x1.0p54);
}

std::string describe(float value)
{
    return describeFloatingPoint(value, 0x1.0p25f);
}

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
