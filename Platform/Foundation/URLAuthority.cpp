#include "Platform/Foundation/URLAuthority.hpp"

#include "Platform/Foundation/Hex.hpp"
#include "Platform/Foundation/UnicodeSupport.hpp"

#include <arpa/inet.h>
#include <charconv>
#include <cstring>

namespace Foundation {
namespace {

bool isUnreserved(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
}

bool isSubDelimiter(char c)
{
    return c != '\0' && std::strchr("!$&'()*+,;=", c);
}

bool isEscapeAt(std::string_view text, std::size_t i)
{
    return text[i] == '%' && i + 2 < text.size() && hexDigitValue(text[i + 1]) >= 0 && hexDigitValue(text[i + 2]) >= 0;
}

// Each character unreserved, a sub-delimiter, a percent escape or one of `extra`; bytes beyond ASCII too
// when `allowsUnicode`.
bool consistsOf(std::string_view text, const char* extra, bool allowsUnicode)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '%') {
            if (!isEscapeAt(text, i))
                return false;
            i += 2;
        } else if (!isUnreserved(c) && !isSubDelimiter(c) && !(c != '\0' && std::strchr(extra, c))
                   && !(allowsUnicode && static_cast<unsigned char>(c) >= 0x80)) {
            return false;
        }
    }
    return true;
}

// "v" 1*HEXDIG "." 1*( unreserved / sub-delims / ":" )
bool isFutureIPLiteral(std::string_view literal)
{
    if (literal.size() < 4 || (literal[0] != 'v' && literal[0] != 'V'))
        return false;
    auto dot = literal.find('.');
    if (dot == std::string_view::npos || dot < 2 || dot + 1 == literal.size())
        return false;
    for (std::size_t i = 1; i < dot; ++i)
        if (hexDigitValue(literal[i]) < 0)
            return false;
    for (char c : literal.substr(dot + 1))
        if (!isUnreserved(c) && !isSubDelimiter(c) && c != ':')
            return false;
    return true;
}

bool isIPLiteral(std::string_view literal)
{
    if (isFutureIPLiteral(literal))
        return true;
    if (literal.empty() || literal.size() > 45)
        return false;
    in6_addr address {};
    return ::inet_pton(AF_INET6, std::string(literal).c_str(), &address) == 1;
}

} // namespace

std::optional<URLAuthority> URLAuthority::parse(std::string_view authority)
{
    URLAuthority result;
    std::string_view rest = authority;
    if (auto at = rest.find('@'); at != std::string_view::npos) {
        result.userinfo = rest.substr(0, at);
        if (!consistsOf(*result.userinfo, ":", false))
            return std::nullopt;
        rest.remove_prefix(at + 1);
    }
    if (rest.starts_with('[')) {
        auto close = rest.find(']');
        if (close == std::string_view::npos || !isIPLiteral(rest.substr(1, close - 1)))
            return std::nullopt;
        result.host = rest.substr(0, close + 1);
        rest.remove_prefix(close + 1);
    } else {
        auto colon = rest.find(':');
        result.host = rest.substr(0, colon);
        if (!consistsOf(result.host, "", true))
            return std::nullopt;
        rest.remove_prefix(result.host.size());
    }
    if (rest.empty())
        return result;
    if (rest.front() != ':')
        return std::nullopt;
    rest.remove_prefix(1);
    if (rest.empty())
        return result; // an empty port is allowed, and means the scheme's own
    std::int64_t port = 0;
    auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), port);
    if (error != std::errc() || end != rest.data() + rest.size() || rest.front() == '-' || rest.front() == '+')
        return std::nullopt;
    result.port = port;
    return result;
}

std::optional<std::string> URLAuthority::decodedHost() const
{
    if (host.starts_with('['))
        return std::string(host);
    std::string decoded;
    decoded.reserve(host.size());
    for (std::size_t i = 0; i < host.size(); ++i) {
        if (!isEscapeAt(host, i)) {
            decoded.push_back(host[i]);
            continue;
        }
        auto byte = static_cast<char>(hexDigitValue(host[i + 1]) * 16 + hexDigitValue(host[i + 2]));
        if (!isUnreserved(byte) && static_cast<unsigned char>(byte) < 0x80)
            return std::nullopt;
        decoded.push_back(byte);
        i += 2;
    }
    if (!Unicode::isValidUTF8(decoded))
        return std::nullopt;
    return decoded;
}

} // namespace Foundation
