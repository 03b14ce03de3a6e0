#include "Shared/Model/EntryShareLink.hpp"

#include "Platform/Foundation/Hex.hpp"

#include <string>
#include <utility>
#include <vector>

namespace Shared {

namespace {

using SystemField = EntrySystemField::ID;

// The fields a link carries, by their query names.
const std::vector<std::pair<const char*, SystemField>> sharedFields {
    {"title", SystemField::title},   {"username", SystemField::username}, {"password", SystemField::password},
    {"totp", SystemField::totpSecretKey}, {"website", SystemField::website}, {"notes", SystemField::notes},
    {"tags", SystemField::tags},
};

bool isUnreserved(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
}

std::string percentEncoded(std::string_view text)
{
    std::string result;
    for (unsigned char c : text) {
        if (isUnreserved(c)) {
            result.push_back(static_cast<char>(c));
        } else {
            result.push_back('%');
            result.push_back(Foundation::upperHexDigits[c >> 4]);
            result.push_back(Foundation::upperHexDigits[c & 0xF]);
        }
    }
    return result;
}

std::optional<Foundation::String> percentDecoded(std::string_view text)
{
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            result.push_back(' ');
        } else if (text[i] == '%') {
            if (i + 2 >= text.size())
                return std::nullopt;
            int high = Foundation::hexDigitValue(text[i + 1]);
            int low = Foundation::hexDigitValue(text[i + 2]);
            if (high < 0 || low < 0)
                return std::nullopt;
            result.push_back(static_cast<char>(high * 16 + low));
            i += 2;
        } else {
            result.push_back(text[i]);
        }
    }
    return Foundation::String::fromUTF8(result);
}

} // namespace

Foundation::String EntryShareLink::text(const Entry& entry)
{
    Foundation::String text = entry.title;
    for (const auto& [name, field] : sharedFields) {
        if (field == SystemField::title)
            continue;
        auto value = entry.text(field);
        if (!value.isEmpty())
            text += "\n" + EntrySystemField::titleText(field) + ": " + value;
    }
    for (const auto& section : entry.sections) {
        for (const auto& field : section.fields) {
            if (!field.text.isEmpty() && field.category != EntryFieldCategory::attachment)
                text += "\n" + field.title.value_or(titleText(field.category)) + ": " + field.text;
        }
    }
    return text;
}

Foundation::URL EntryShareLink::url(const Entry& entry)
{
    std::string link = std::string(scheme) + "://" + host + "?category="
        + Foundation::RawRepresentation<EntryCategory>::cases[static_cast<std::size_t>(entry.category)].second;
    for (const auto& [name, field] : sharedFields) {
        auto value = entry.text(field);
        if (!value.isEmpty())
            link += std::string("&") + name + "=" + percentEncoded(value.view());
    }
    return *Foundation::URL::string(Foundation::String(link));
}

std::optional<Entry> EntryShareLink::entry(const Foundation::URL& url)
{
    if (url.scheme() != scheme || url.host() != Foundation::String(host) || !url.query())
        return std::nullopt;
    Entry entry;
    bool hasCategory = false;
    auto query = url.query()->utf8();
    std::size_t start = 0;
    while (start <= query.size()) {
        auto end = query.find('&', start);
        if (end == std::string::npos)
            end = query.size();
        auto item = std::string_view(query).substr(start, end - start);
        start = end + 1;
        auto equals = item.find('=');
        if (equals == std::string_view::npos)
            continue;
        auto name = item.substr(0, equals);
        auto value = percentDecoded(item.substr(equals + 1));
        if (!value)
            return std::nullopt;
        if (name == "category") {
            for (const auto& [category, raw] : Foundation::RawRepresentation<EntryCategory>::cases) {
                if (*value == raw) {
                    entry.category = category;
                    hasCategory = true;
                }
            }
            continue;
        }
        for (const auto& [fieldName, field] : sharedFields) {
            if (name == fieldName)
                entry.setText(*value, field, entry.createdAt);
        }
    }
    if (!hasCategory)
        return std::nullopt;
    return entry;
}

} // namespace Shared
