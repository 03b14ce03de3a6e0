#pragma once

#include "Platform/Foundation/Date.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace Shared {

// How other apps write the values the readers share: yes-or-no, dates, addresses and folder paths.
struct ImportValues {
    // "1", "true", "yes" and "y", in any case.
    static bool isTrue(std::string_view value);
    // Seconds or milliseconds since 1970 (told apart by size), ISO 8601, or "YYYY/MM/DD hh:mm:ss" and
    // "YYYY-MM-DD hh:mm:ss" in UTC; nothing for anything else.
    static std::optional<Foundation::Date> date(std::string_view value);
    // The host of an address ("https://www.example.com/login" gives "www.example.com"); the text
    // itself when it has none.
    static std::string host(std::string_view url);
    // The last part of a folder path ("Root/Mail" gives "Mail"); folders stand as tags.
    static std::string_view lastGroupComponent(std::string_view path, char separator = '/');
    static std::string replacing(std::string_view text, std::string_view target, std::string_view replacement);
};

} // namespace Shared
