#include "Platform/Foundation/JSONStreamWriter.hpp"

#include "Platform/Foundation/JSONWriter.hpp"
#include "Platform/Foundation/UnicodeSupport.hpp"

#include <charconv>
#include <cmath>

namespace Foundation {

void JSONStreamWriter::newLine(std::size_t depth)
{
    m_text += '\n';
    m_text.append(depth * 2, ' ');
}

void JSONStreamWriter::beforeValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_levels.empty())
        return;
    auto& level = m_levels.back();
    if (level.count++ > 0)
        m_text += ',';
    if (m_layout == Layout::indented)
        newLine(m_levels.size());
}

void JSONStreamWriter::open(char bracket)
{
    beforeValue();
    m_text += bracket;
    m_levels.emplace_back();
}

void JSONStreamWriter::close(char bracket)
{
    const bool hadEntries = m_levels.back().count > 0;
    m_levels.pop_back();
    if (hadEntries && m_layout == Layout::indented)
        newLine(m_levels.size());
    m_text += bracket;
}

JSONStreamWriter& JSONStreamWriter::beginObject()
{
    open('{');
    return *this;
}

JSONStreamWriter& JSONStreamWriter::endObject()
{
    close('}');
    return *this;
}

JSONStreamWriter& JSONStreamWriter::beginArray()
{
    open('[');
    return *this;
}

JSONStreamWriter& JSONStreamWriter::endArray()
{
    close(']');
    return *this;
}

JSONStreamWriter& JSONStreamWriter::key(std::string_view key)
{
    beforeValue();
    appendText(key);
    m_text += m_layout == Layout::indented ? ": " : ":";
    m_afterKey = true;
    return *this;
}

JSONStreamWriter& JSONStreamWriter::null()
{
    beforeValue();
    m_text += "null";
    return *this;
}

JSONStreamWriter& JSONStreamWriter::boolean(bool value)
{
    beforeValue();
    m_text += value ? "true" : "false";
    return *this;
}

JSONStreamWriter& JSONStreamWriter::integer(std::int64_t value)
{
    beforeValue();
    char buffer[24];
    m_text.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
    return *this;
}

JSONStreamWriter& JSONStreamWriter::real(double value)
{
    beforeValue();
    appendReal(m_text, value);
    return *this;
}

JSONStreamWriter& JSONStreamWriter::string(std::string_view value)
{
    beforeValue();
    appendText(value);
    return *this;
}

void JSONStreamWriter::appendText(std::string_view text)
{
    if (Unicode::isASCII(text) || Unicode::isValidUTF8(text))
        JSONWriter::appendString(m_text, text, false);
    else
        JSONWriter::appendString(m_text, Unicode::repairedUTF8(std::string(text)), false);
}

// The shortest digits that read back, laid out as printf's "%g" would: plain up to 15 digits before the
// point and from 4 zeros after it, with an exponent of at least two digits beyond.
void JSONStreamWriter::appendReal(std::string& out, double value)
{
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    if (std::signbit(value)) {
        out += '-';
        value = -value;
    }
    if (value == 0) {
        out += "0.0";
        return;
    }
    char buffer[40];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific).ptr;
    std::string_view scientific(buffer, static_cast<std::size_t>(end - buffer));
    const auto e = scientific.find('e');
    std::string digits;
    for (char c : scientific.substr(0, e)) {
        if (c != '.')
            digits += c;
    }
    int exponent = 0;
    auto exponentText = scientific.substr(e + 1);
    if (exponentText.front() == '+')
        exponentText.remove_prefix(1);
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);

    const int length = static_cast<int>(digits.size());
    const int point = exponent + 1; // where the decimal point falls among the digits
    constexpr int largestPlain = 15;
    constexpr int smallestPlain = -4;
    if (length <= point && point <= largestPlain) {
        out += digits;
        out.append(static_cast<std::size_t>(point - length), '0');
        out += ".0";
    } else if (0 < point && point <= largestPlain) {
        out.append(digits, 0, static_cast<std::size_t>(point));
        out += '.';
        out.append(digits, static_cast<std::size_t>(point));
    } else if (smallestPlain < point && point <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-point), '0');
        out += digits;
    } else {
        out += digits.front();
        if (length > 1) {
            out += '.';
            out.append(digits, 1);
        }
        out += 'e';
        const int shown = point - 1;
        out += shown < 0 ? '-' : '+';
        const int magnitude = shown < 0 ? -shown : shown;
        if (magnitude < 10)
            out += '0';
        out += std::to_string(magnitude);
    }
}

} // namespace Foundation
