#include "Platform/Foundation/PercentEncoding.hpp"

#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/Hex.hpp"
#include "Platform/Foundation/String.hpp"

namespace Foundation {

std::string percentEncoded(std::string_view bytes, const CharacterSet& allowed)
{
    std::string result;
    result.reserve(bytes.size());
    for (char c : bytes) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80 && allowed.contains(byte)) {
            result += c;
        } else {
            result += '%';
            result += upperHexDigits[byte >> 4];
            result += upperHexDigits[byte & 0xF];
        }
    }
    return result;
}

std::string percentEncodedQueryValue(std::string_view bytes)
{
    static const auto unreserved = CharacterSet::alphanumerics().unioning(CharacterSet::charactersIn(String("-._~")));
    return percentEncoded(bytes, unreserved);
}

std::string percentDecoded(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            int high = hexDigitValue(text[i + 1]);
            int low = hexDigitValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                result += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        result += text[i];
    }
    return result;
}

} // namespace Foundation
