#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace Foundation {

// The authority of a URL as RFC 3986 reads it: [userinfo "@"] host [":" port]. Where a host decides what
// a person is offered, only an authority that reads one way is taken: a second "@", a port that is not
// all digits, an unclosed or malformed "[...]" or a character no host may hold make it no authority.
// Letters beyond ASCII in a registered name are taken as an internationalised one (RFC 3987).
struct URLAuthority {
    std::optional<std::string_view> userinfo;
    // As written: a registered name (possibly empty), an IPv4 address or a bracketed IP literal.
    std::string_view host;
    std::optional<std::int64_t> port;

    static std::optional<URLAuthority> parse(std::string_view authority);
    // The host with its percent escapes decoded, as long as they only spell letters, digits, "-", ".",
    // "_", "~" or UTF-8; nothing when decoding would make another host of it ("%2F", "%40", "%00", ...).
    std::optional<std::string> decodedHost() const;
};

} // namespace Foundation
