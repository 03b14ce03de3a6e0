#pragma once

#include <string>
#include <string_view>

namespace Foundation {

class CharacterSet;

// Every byte outside `allowed` as %XX in upper case; non-ASCII bytes are always encoded, so the result is ASCII.
std::string percentEncoded(std::string_view bytes, const CharacterSet& allowed);
// Everything but the unreserved characters (ASCII letters, digits and "-._~"), so that a value never ends
// a query or one of its items early.
std::string percentEncodedQueryValue(std::string_view bytes);
// Escapes that are not two hexadecimal digits are kept as they stand.
std::string percentDecoded(std::string_view text);

} // namespace Foundation
