#include "Shared/Transfer/ImportValues.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <ctime>

namespace Shared {

bool ImportValues::isTrue(std::string_view value)
{
    std::string lowered(value);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lowered == "1" || lowered == "true" || lowered == "yes" || lowered == "y";
}

std::optional<Foundation::Date> ImportValues::date(std::string_view value)
{
    while (!value.empty() && std::isspace(static_cast<unsigned char>(value.front())))
        value.remove_prefix(1);
    while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back())))
        value.remove_suffix(1);
    if (value.empty())
        return std::nullopt;
    if (std::all_of(value.begin(), value.end(), [](unsigned char c) { return std::isdigit(c) || c == '.'; })) {
        double number = 0;
        auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
        if (error != std::errc() || end != value.data() + value.size())
            return std::nullopt;
        // Past 1e11 seconds lies the year 5138: such a number counts milliseconds (or microseconds).
        if (number > 1e14)
            number /= 1e6;
        else if (number > 1e11)
            number /= 1000;
        return Foundation::Date::fromTimeIntervalSince1970(number);
    }
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, consumed = 0;
    std::string text(value);
    char separator = 0, middle = 0;
    if (std::sscanf(text.c_str(), "%4d%c%2d%*c%2d%c%2d:%2d:%2d%n", &year, &separator, &month, &day, &middle, &hour, &minute, &second, &consumed) != 8
        || (separator != '/' && separator != '-') || (middle != 'T' && middle != ' '))
        return std::nullopt;
    std::tm time {};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    double seconds = static_cast<double>(timegm(&time));
    // A fraction, then "Z", an offset or nothing (UTC).
    std::string_view rest = std::string_view(text).substr(static_cast<std::size_t>(consumed));
    if (!rest.empty() && rest.front() == '.') {
        std::size_t digits = 1;
        while (digits < rest.size() && std::isdigit(static_cast<unsigned char>(rest[digits])))
            ++digits;
        double fraction = 0;
        std::from_chars(rest.data(), rest.data() + digits, fraction);
        seconds += fraction;
        rest.remove_prefix(digits);
    }
    if (rest.size() == 6 && (rest[0] == '+' || rest[0] == '-') && rest[3] == ':') {
        int hours = (rest[1] - '0') * 10 + (rest[2] - '0');
        int minutes = (rest[4] - '0') * 10 + (rest[5] - '0');
        seconds -= (rest[0] == '+' ? 1 : -1) * (hours * 3600.0 + minutes * 60.0);
    } else if (!rest.empty() && rest != "Z") {
        return std::nullopt;
    }
    return Foundation::Date::fromTimeIntervalSince1970(seconds);
}

std::string ImportValues::host(std::string_view url)
{
    auto scheme = url.find("://");
    std::string_view rest = scheme == std::string_view::npos ? url : url.substr(scheme + 3);
    auto end = rest.find_first_of("/?#");
    auto host = rest.substr(0, end);
    auto at = host.rfind('@');
    if (at != std::string_view::npos)
        host.remove_prefix(at + 1);
    auto colon = host.rfind(':');
    if (colon != std::string_view::npos && host.find(']') == std::string_view::npos)
        host = host.substr(0, colon);
    return std::string(host.empty() ? url : host);
}

std::string_view ImportValues::lastGroupComponent(std::string_view path, char separator)
{
    while (!path.empty() && (path.back() == separator || path.back() == '\\'))
        path.remove_suffix(1);
    auto slash = path.find_last_of(separator == '/' ? std::string_view("/\\") : std::string_view(&separator, 1));
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string ImportValues::replacing(std::string_view text, std::string_view target, std::string_view replacement)
{
    std::string result;
    std::size_t start = 0;
    while (true) {
        auto found = text.find(target, start);
        if (found == std::string_view::npos)
            break;
        result.append(text.substr(start, found - start));
        result.append(replacement);
        start = found + target.size();
    }
    result.append(text.substr(start));
    return result;
}

} // namespace Shared
