#include "Platform/Foundation/JSONWriter.hpp"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <vector>

namespace Foundation {
namespace {

void writeString(std::string& out, const std::string& text, const JSONWriter::Options& options)
{
    static constexpr char hex[] = "0123456789abcdef";
    out += '"';
    for (char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '/': out += options.withoutEscapingSlashes ? "/" : "\\/"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                out += "\\u00";
                out += hex[(c >> 4) & 0xF];
                out += hex[c & 0xF];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

void indent(std::string& out, int depth)
{
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
}

void writeValue(std::string& out, const nlohmann::ordered_json& value, const JSONWriter::Options& options, int depth)
{
    using Type = nlohmann::ordered_json::value_t;
    switch (value.type()) {
    case Type::null:
    case Type::discarded:
        out += "null";
        return;
    case Type::boolean:
        out += value.get<bool>() ? "true" : "false";
        return;
    case Type::number_integer:
    case Type::number_unsigned:
    case Type::number_float:
        out += JSONWriter::numberText(value);
        return;
    case Type::string:
        writeString(out, value.get_ref<const std::string&>(), options);
        return;
    case Type::binary:
        out += "null";
        return;
    case Type::array: {
        out += '[';
        if (options.prettyPrinted)
            out += '\n';
        bool first = true;
        for (const auto& element : value) {
            if (!first)
                out += options.prettyPrinted ? ",\n" : ",";
            first = false;
            if (options.prettyPrinted)
                indent(out, depth + 1);
            writeValue(out, element, options, depth + 1);
        }
        if (options.prettyPrinted) {
            out += '\n';
            indent(out, depth);
        }
        out += ']';
        return;
    }
    case Type::object: {
        std::vector<const std::pair<const std::string, nlohmann::ordered_json>*> members;
        members.reserve(value.size());
        for (const auto& member : value.get_ref<const nlohmann::ordered_json::object_t&>())
            members.push_back(&member);
        if (options.sortedKeys)
            std::stable_sort(members.begin(), members.end(), [](auto* lhs, auto* rhs) { return lhs->first < rhs->first; });
        out += '{';
        if (options.prettyPrinted)
            out += '\n';
        bool first = true;
        for (const auto* member : members) {
            if (!first)
                out += options.prettyPrinted ? ",\n" : ",";
            first = false;
            if (options.prettyPrinted)
                indent(out, depth + 1);
            writeString(out, member->first, options);
            out += options.prettyPrinted ? " : " : ":";
            writeValue(out, member->second, options, depth + 1);
        }
        if (options.prettyPrinted) {
            out += '\n';
            indent(out, depth);
        }
        out += '}';
        return;
    }
    }
}

} // namespace

std::string JSONWriter::write(const nlohmann::ordered_json& value, Options options)
{
    std::string out;
    writeValue(out, value, options, 0);
    return out;
}

std::string JSONWriter::numberText(double number)
{
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    std::string text(buffer, result.ptr);
    if (text.size() > 2 && text.compare(text.size() - 2, 2, ".0") == 0)
        text.resize(text.size() - 2);
    return text;
}

std::string JSONWriter::numberText(const nlohmann::ordered_json& number)
{
    if (number.is_number_unsigned())
        return std::to_string(number.get<std::uint64_t>());
    if (number.is_number_integer())
        return std::to_string(number.get<std::int64_t>());
    return numberText(number.get<double>());
}

} // namespace Foundation
