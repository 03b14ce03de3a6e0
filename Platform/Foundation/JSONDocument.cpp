#include "Platform/Foundation/JSONDocument.hpp"

#include "Platform/Foundation/Hex.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <unordered_map>

#include <locale.h>

namespace Foundation {
namespace {

// Deeper than any value this system codes; a hostile text gets an error instead of exhausting the stack.
constexpr int maximumDepth = 512;

struct WholeNumber {
    bool negative;
    std::uint64_t magnitude;
};

// The exact value of a JSON number's text when it is a whole number that fits 64 bits, however it is
// written ("34.0", "1e2", "-9223372036854775808.0"); nothing when it has a fraction or does not fit.
// Reading it from the text matters at the limits, where a double cannot tell 2^63 from 2^63 + 1.
std::optional<WholeNumber> exactWholeNumber(std::string_view text)
{
    const bool negative = text.starts_with('-');
    if (negative)
        text.remove_prefix(1);
    const auto exponentAt = text.find_first_of("eE");
    auto mantissa = text.substr(0, exponentAt);
    std::int64_t exponent = 0;
    if (exponentAt != std::string_view::npos) {
        auto digits = text.substr(exponentAt + 1);
        const bool negativeExponent = digits.starts_with('-');
        if (digits.starts_with('-') || digits.starts_with('+'))
            digits.remove_prefix(1);
        for (char c : digits)
            exponent = std::min<std::int64_t>(exponent * 10 + (c - '0'), 1'000'000);
        if (negativeExponent)
            exponent = -exponent;
    }
    std::string digits;
    const auto point = mantissa.find('.');
    digits.append(mantissa.substr(0, point));
    if (point != std::string_view::npos) {
        auto fraction = mantissa.substr(point + 1);
        digits.append(fraction);
        exponent -= static_cast<std::int64_t>(fraction.size());
    }
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    if (digits.empty())
        return WholeNumber {false, 0};
    while (digits.back() == '0') {
        digits.pop_back();
        ++exponent;
    }
    if (exponent < 0 || static_cast<std::int64_t>(digits.size()) + exponent > 20)
        return std::nullopt;
    digits.append(static_cast<std::size_t>(exponent), '0');
    std::uint64_t magnitude = 0;
    auto result = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    if (result.ec != std::errc() || result.ptr != digits.data() + digits.size())
        return std::nullopt;
    constexpr auto lowest = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + 1;
    if (negative && magnitude > lowest)
        return std::nullopt;
    return WholeNumber {negative, magnitude};
}

// A double from a number's text, rounded as strtod rounds; what overflows is not a number JSON can carry.
std::optional<double> parsedDouble(std::string_view text)
{
    double value = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc())
        return value;
    // Out of range: too small rounds to zero as strtod does, too large is refused.
    static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", nullptr);
    std::string copy(text);
    value = ::strtod_l(copy.c_str(), nullptr, cLocale);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

void appendUTF8(std::string& out, std::uint32_t scalar)
{
    if (scalar < 0x80) {
        out += static_cast<char>(scalar);
    } else if (scalar < 0x800) {
        out += static_cast<char>(0xC0 | (scalar >> 6));
        out += static_cast<char>(0x80 | (scalar & 0x3F));
    } else if (scalar < 0x10000) {
        out += static_cast<char>(0xE0 | (scalar >> 12));
        out += static_cast<char>(0x80 | ((scalar >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (scalar & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (scalar >> 18));
        out += static_cast<char>(0x80 | ((scalar >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((scalar >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (scalar & 0x3F));
    }
}

} // namespace

class JSONDocument::Parser {
public:
    Parser(JSONDocument& document, std::string_view bytes)
        : m_document(document)
        , m_begin(bytes.data())
        , m_at(bytes.data())
        , m_end(bytes.data() + bytes.size())
    {
    }

    void parseDocument()
    {
        if (m_end - m_at >= 3 && std::string_view(m_at, 3) == "\xEF\xBB\xBF")
            m_at += 3;
        skipWhitespace();
        parseValue(0, 0);
        skipWhitespace();
        if (m_at != m_end)
            fail("unexpected text after the value");
    }

private:
    [[noreturn]] void fail(const std::string& why) const
    {
        throw SyntaxError("Invalid JSON at offset " + std::to_string(m_at - m_begin) + ": " + why + ".");
    }

    void skipWhitespace()
    {
        while (m_at != m_end && (*m_at == ' ' || *m_at == '\n' || *m_at == '\r' || *m_at == '\t'))
            ++m_at;
    }

    std::uint32_t newValue(Kind kind, std::uint32_t parent)
    {
        auto& values = m_document.m_values;
        if (values.size() >= std::numeric_limits<std::uint32_t>::max())
            fail("too many values");
        auto& value = values.emplace_back();
        value.kind = kind;
        value.parent = parent;
        return static_cast<std::uint32_t>(values.size() - 1);
    }

    void expectLiteral(std::string_view literal)
    {
        if (static_cast<std::size_t>(m_end - m_at) < literal.size() || std::string_view(m_at, literal.size()) != literal)
            fail("expected a value");
        m_at += literal.size();
    }

    std::uint32_t parseValue(std::uint32_t parent, int depth)
    {
        if (m_at == m_end)
            fail("expected a value");
        switch (*m_at) {
        case '{':
            return parseObject(parent, depth + 1);
        case '[':
            return parseArray(parent, depth + 1);
        case '"': {
            auto index = newValue(Kind::string, parent);
            auto text = parseString();
            m_document.m_values[index].text = text;
            return index;
        }
        case 't': {
            expectLiteral("true");
            auto index = newValue(Kind::boolean, parent);
            m_document.m_values[index].boolean = true;
            return index;
        }
        case 'f':
            expectLiteral("false");
            return newValue(Kind::boolean, parent);
        case 'n':
            expectLiteral("null");
            return newValue(Kind::null, parent);
        default:
            if (*m_at == '-' || isDigit(*m_at))
                return parseNumber(parent);
            fail("expected a value");
        }
    }

    std::uint32_t parseNumber(std::uint32_t parent)
    {
        const char* start = m_at;
        if (*m_at == '-')
            ++m_at;
        if (m_at == m_end || !isDigit(*m_at))
            fail("expected a digit");
        if (*m_at == '0') {
            ++m_at;
        } else {
            while (m_at != m_end && isDigit(*m_at))
                ++m_at;
        }
        bool whole = true;
        if (m_at != m_end && *m_at == '.') {
            whole = false;
            ++m_at;
            if (m_at == m_end || !isDigit(*m_at))
                fail("expected a digit after the decimal point");
            while (m_at != m_end && isDigit(*m_at))
                ++m_at;
        }
        if (m_at != m_end && (*m_at == 'e' || *m_at == 'E')) {
            whole = false;
            ++m_at;
            if (m_at != m_end && (*m_at == '+' || *m_at == '-'))
                ++m_at;
            if (m_at == m_end || !isDigit(*m_at))
                fail("expected a digit in the exponent");
            while (m_at != m_end && isDigit(*m_at))
                ++m_at;
        }
        std::string_view text(start, static_cast<std::size_t>(m_at - start));
        auto newNumber = [&](Kind kind) {
            auto index = newValue(kind, parent);
            m_document.m_values[index].text = text;
            return index;
        };
        if (whole) {
            if (text.front() == '-') {
                std::int64_t value = 0;
                auto result = std::from_chars(text.data(), text.data() + text.size(), value);
                if (result.ec == std::errc()) {
                    auto index = newNumber(Kind::integer);
                    m_document.m_values[index].integer = value;
                    return index;
                }
            } else {
                std::uint64_t value = 0;
                auto result = std::from_chars(text.data(), text.data() + text.size(), value);
                if (result.ec == std::errc()) {
                    auto index = newNumber(Kind::unsignedInteger);
                    m_document.m_values[index].unsignedInteger = value;
                    return index;
                }
            }
        }
        auto real = parsedDouble(text);
        if (!real) {
            m_at = start;
            fail("number out of range");
        }
        if (auto exact = exactWholeNumber(text)) {
            if (!exact->negative) {
                auto index = newNumber(Kind::unsignedInteger);
                m_document.m_values[index].unsignedInteger = exact->magnitude;
                m_document.m_values[index].writtenAsReal = true;
                return index;
            }
            auto index = newNumber(Kind::integer);
            m_document.m_values[index].writtenAsReal = true;
            constexpr auto lowest = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + 1;
            m_document.m_values[index].integer
                = exact->magnitude == lowest ? std::numeric_limits<std::int64_t>::min() : -static_cast<std::int64_t>(exact->magnitude);
            return index;
        }
        auto index = newNumber(Kind::real);
        m_document.m_values[index].real = *real;
        return index;
    }

    // The length of a valid UTF-8 sequence starting at m_at, whose first byte is at least 0x80; 0 if invalid.
    std::size_t sequenceLength() const
    {
        auto byte = [&](std::size_t offset) -> unsigned { return static_cast<unsigned char>(m_at[offset]); };
        const auto available = static_cast<std::size_t>(m_end - m_at);
        auto inRange = [&](std::size_t offset, unsigned low, unsigned high) { return offset < available && byte(offset) >= low && byte(offset) <= high; };
        unsigned lead = byte(0);
        if (lead >= 0xC2 && lead <= 0xDF)
            return inRange(1, 0x80, 0xBF) ? 2 : 0;
        if (lead == 0xE0)
            return inRange(1, 0xA0, 0xBF) && inRange(2, 0x80, 0xBF) ? 3 : 0;
        if ((lead >= 0xE1 && lead <= 0xEC) || lead == 0xEE || lead == 0xEF)
            return inRange(1, 0x80, 0xBF) && inRange(2, 0x80, 0xBF) ? 3 : 0;
        if (lead == 0xED)
            return inRange(1, 0x80, 0x9F) && inRange(2, 0x80, 0xBF) ? 3 : 0;
        if (lead == 0xF0)
            return inRange(1, 0x90, 0xBF) && inRange(2, 0x80, 0xBF) && inRange(3, 0x80, 0xBF) ? 4 : 0;
        if (lead >= 0xF1 && lead <= 0xF3)
            return inRange(1, 0x80, 0xBF) && inRange(2, 0x80, 0xBF) && inRange(3, 0x80, 0xBF) ? 4 : 0;
        if (lead == 0xF4)
            return inRange(1, 0x80, 0x8F) && inRange(2, 0x80, 0xBF) && inRange(3, 0x80, 0xBF) ? 4 : 0;
        return 0;
    }

    std::uint32_t parseHex4()
    {
        if (m_end - m_at < 4)
            fail("expected four hexadecimal digits");
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            int digit = hexDigitValue(m_at[i]);
            if (digit < 0)
                fail("expected four hexadecimal digits");
            value = value * 16 + static_cast<std::uint32_t>(digit);
        }
        m_at += 4;
        return value;
    }

    // At the opening quote. A text without escapes is a view of the bytes; one with escapes is unescaped
    // into the document's own storage, which never grows past the bytes' size and so never moves.
    std::string_view parseString()
    {
        ++m_at;
        const char* start = m_at;
        std::string* out = nullptr;
        std::size_t outStart = 0;
        while (true) {
            if (m_at == m_end)
                fail("unterminated text");
            auto c = static_cast<unsigned char>(*m_at);
            if (c == '"')
                break;
            if (c < 0x20)
                fail("control character in a text");
            if (c < 0x80 && c != '\\') {
                if (out)
                    out->push_back(static_cast<char>(c));
                ++m_at;
                continue;
            }
            if (c >= 0x80) {
                auto length = sequenceLength();
                if (length == 0)
                    fail("invalid UTF-8");
                if (out)
                    out->append(m_at, length);
                m_at += length;
                continue;
            }
            if (!out) {
                out = &m_document.m_unescaped;
                outStart = out->size();
                out->append(start, static_cast<std::size_t>(m_at - start));
            }
            ++m_at;
            if (m_at == m_end)
                fail("unterminated escape");
            switch (*m_at++) {
            case '"': out->push_back('"'); break;
            case '\\': out->push_back('\\'); break;
            case '/': out->push_back('/'); break;
            case 'b': out->push_back('\b'); break;
            case 'f': out->push_back('\f'); break;
            case 'n': out->push_back('\n'); break;
            case 'r': out->push_back('\r'); break;
            case 't': out->push_back('\t'); break;
            case 'u': {
                std::uint32_t unit = parseHex4();
                if (unit >= 0xDC00 && unit <= 0xDFFF)
                    fail("unpaired low surrogate");
                if (unit >= 0xD800 && unit <= 0xDBFF) {
                    if (m_end - m_at < 2 || m_at[0] != '\\' || m_at[1] != 'u')
                        fail("unpaired high surrogate");
                    m_at += 2;
                    std::uint32_t low = parseHex4();
                    if (low < 0xDC00 || low > 0xDFFF)
                        fail("unpaired high surrogate");
                    unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                }
                appendUTF8(*out, unit);
                break;
            }
            default:
                --m_at;
                fail("invalid escape");
            }
        }
        std::string_view text = out ? std::string_view(out->data() + outStart, out->size() - outStart)
                                    : std::string_view(start, static_cast<std::size_t>(m_at - start));
        ++m_at;
        return text;
    }

    std::uint32_t parseArray(std::uint32_t parent, int depth)
    {
        if (depth > maximumDepth)
            fail("nested too deeply");
        auto index = newValue(Kind::array, parent);
        ++m_at;
        const auto scratchStart = m_elementScratch.size();
        skipWhitespace();
        if (m_at != m_end && *m_at == ']') {
            ++m_at;
        } else {
            while (true) {
                skipWhitespace();
                m_elementScratch.push_back(parseValue(index, depth));
                skipWhitespace();
                if (m_at == m_end)
                    fail("unterminated array");
                if (*m_at == ',') {
                    ++m_at;
                    continue;
                }
                if (*m_at == ']') {
                    ++m_at;
                    break;
                }
                fail("expected ',' or ']'");
            }
        }
        auto& elements = m_document.m_elements;
        const auto count = m_elementScratch.size() - scratchStart;
        auto& value = m_document.m_values[index];
        value.first = static_cast<std::uint32_t>(elements.size());
        value.count = static_cast<std::uint32_t>(count);
        elements.insert(elements.end(), m_elementScratch.begin() + static_cast<std::ptrdiff_t>(scratchStart), m_elementScratch.end());
        m_elementScratch.resize(scratchStart);
        for (std::size_t i = 0; i < count; ++i)
            m_document.m_values[elements[value.first + i]].position = static_cast<std::uint32_t>(i);
        return index;
    }

    std::uint32_t parseObject(std::uint32_t parent, int depth)
    {
        if (depth > maximumDepth)
            fail("nested too deeply");
        auto index = newValue(Kind::object, parent);
        ++m_at;
        const auto scratchStart = m_memberScratch.size();
        skipWhitespace();
        if (m_at != m_end && *m_at == '}') {
            ++m_at;
        } else {
            while (true) {
                skipWhitespace();
                if (m_at == m_end || *m_at != '"')
                    fail("expected a key");
                auto key = parseString();
                skipWhitespace();
                if (m_at == m_end || *m_at != ':')
                    fail("expected ':'");
                ++m_at;
                skipWhitespace();
                m_memberScratch.push_back({key, parseValue(index, depth)});
                skipWhitespace();
                if (m_at == m_end)
                    fail("unterminated object");
                if (*m_at == ',') {
                    ++m_at;
                    continue;
                }
                if (*m_at == '}') {
                    ++m_at;
                    break;
                }
                fail("expected ',' or '}'");
            }
        }
        // A key given twice keeps its first place and its last value. Up to a few dozen members a scan
        // finds them sooner than a table made for the purpose.
        auto begin = m_memberScratch.begin() + static_cast<std::ptrdiff_t>(scratchStart);
        auto end = m_memberScratch.end();
        if (end - begin > 32) {
            std::unordered_map<std::string_view, std::size_t> seen;
            seen.reserve(static_cast<std::size_t>(end - begin));
            auto kept = begin;
            for (auto member = begin; member != end; ++member) {
                auto [found, inserted] = seen.try_emplace(member->key, static_cast<std::size_t>(kept - begin));
                if (inserted)
                    *kept++ = *member;
                else
                    (begin + static_cast<std::ptrdiff_t>(found->second))->value = member->value;
            }
            end = kept;
        } else {
            auto kept = begin;
            for (auto member = begin; member != end; ++member) {
                auto earlier = std::find_if(begin, kept, [&](const Member& other) { return other.key == member->key; });
                if (earlier == kept)
                    *kept++ = *member;
                else
                    earlier->value = member->value;
            }
            end = kept;
        }
        auto& members = m_document.m_members;
        const auto count = static_cast<std::size_t>(end - begin);
        auto& value = m_document.m_values[index];
        value.first = static_cast<std::uint32_t>(members.size());
        value.count = static_cast<std::uint32_t>(count);
        members.insert(members.end(), begin, end);
        m_memberScratch.resize(scratchStart);
        for (std::size_t i = 0; i < count; ++i)
            m_document.m_values[members[value.first + i].value].position = static_cast<std::uint32_t>(i);
        return index;
    }

    JSONDocument& m_document;
    const char* m_begin;
    const char* m_at;
    const char* m_end;
    std::vector<std::uint32_t> m_elementScratch;
    std::vector<Member> m_memberScratch;
};

JSONDocument::JSONDocument(std::string_view bytes)
{
    m_unescaped.reserve(bytes.size());
    m_values.reserve(bytes.size() / 24 + 4);
    Parser(*this, bytes).parseDocument();
}

std::optional<JSONDocument> JSONDocument::tryParse(std::string_view bytes)
{
    try {
        return std::optional<JSONDocument>(std::in_place, bytes);
    } catch (const SyntaxError&) {
        return std::nullopt;
    }
}

CodingPath JSONDocument::codingPath(std::uint32_t index, std::uint32_t top) const
{
    CodingPath path;
    while (index != top && index != root) {
        const auto& value = m_values[index];
        const auto& parent = m_values[value.parent];
        if (parent.kind == Kind::array)
            path.push_back(CodingKey::index(value.position));
        else
            path.push_back(CodingKey::named(std::string(m_members[parent.first + value.position].key)));
        index = value.parent;
    }
    return {std::make_move_iterator(path.rbegin()), std::make_move_iterator(path.rend())};
}

} // namespace Foundation
