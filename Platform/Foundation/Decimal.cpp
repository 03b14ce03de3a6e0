#include "Platform/Foundation/Decimal.hpp"

#include "Platform/Foundation/FatalError.hpp"

#include <limits>

namespace Foundation {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Digits without trailing zeros and the exponent that makes up for them: one spelling per value.
std::pair<std::string_view, std::int64_t> canonical(const std::string& digits, std::int64_t exponent)
{
    std::string_view view = digits;
    while (!view.empty() && view.back() == '0') {
        view.remove_suffix(1);
        ++exponent;
    }
    return {view, exponent};
}

} // namespace

Decimal::Decimal(std::int64_t value)
    : Decimal(value < 0, std::int64_t {0},
              std::to_string(value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value)))
{
}

Decimal::Decimal(bool isNegative, std::int32_t exponent, std::uint64_t significand)
    : Decimal(isNegative, std::int64_t {exponent}, std::to_string(significand))
{
    precondition(exponent >= minimumExponent && exponent <= maximumExponent, "Decimal exponent out of range");
}

// Trailing zeros move into the exponent while it has room, so long spellings of large values fit.
Decimal::Decimal(bool isNegative, std::int64_t exponent, std::string digits)
{
    auto first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return; // zero has no sign
    digits.erase(0, first);
    while (digits.back() == '0' && exponent < maximumExponent) {
        digits.pop_back();
        ++exponent;
    }
    // And the other way: zeros written out bring an exponent past the top back into range.
    while (exponent > maximumExponent && digits.size() < maximumDigits) {
        digits.push_back('0');
        --exponent;
    }
    m_isNegative = isNegative;
    m_exponent = static_cast<std::int32_t>(exponent);
    m_digits = std::move(digits);
}

std::optional<Decimal> Decimal::fromString(std::string_view text)
{
    std::size_t position = 0;
    bool isNegative = false;
    if (position < text.size() && (text[position] == '+' || text[position] == '-'))
        isNegative = text[position++] == '-';

    std::string digits;
    std::int64_t exponent = 0;
    bool sawDigit = false;
    for (; position < text.size() && isDigit(text[position]); ++position, sawDigit = true)
        digits += text[position];
    if (position < text.size() && text[position] == '.') {
        for (++position; position < text.size() && isDigit(text[position]); ++position, sawDigit = true) {
            digits += text[position];
            --exponent;
        }
    }
    if (!sawDigit)
        return std::nullopt;

    if (position < text.size() && (text[position] == 'e' || text[position] == 'E')) {
        ++position;
        bool exponentIsNegative = false;
        if (position < text.size() && (text[position] == '+' || text[position] == '-'))
            exponentIsNegative = text[position++] == '-';
        if (position == text.size() || !isDigit(text[position]))
            return std::nullopt;
        std::int64_t written = 0;
        for (; position < text.size() && isDigit(text[position]); ++position) {
            written = written * 10 + (text[position] - '0');
            if (written > std::numeric_limits<std::int32_t>::max())
                return std::nullopt;
        }
        exponent += exponentIsNegative ? -written : written;
    }
    if (position != text.size())
        return std::nullopt;

    // Digits or exponents beyond what a decimal holds would make a different number, so those fail.
    if (exponent < std::numeric_limits<std::int32_t>::min() || exponent > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    Decimal decimal(isNegative, exponent, std::move(digits));
    if (!decimal.isZero()
        && (decimal.m_digits.size() > maximumDigits || decimal.m_exponent < minimumExponent || decimal.m_exponent > maximumExponent))
        return std::nullopt;
    return decimal;
}

String Decimal::description() const
{
    if (isZero())
        return "0";
    std::string text = m_isNegative ? "-" : "";
    auto count = static_cast<std::int64_t>(m_digits.size());
    std::int64_t exponent = m_exponent;
    if (exponent >= 0) {
        text += m_digits + std::string(static_cast<std::size_t>(exponent), '0');
    } else if (-exponent < count) {
        auto point = static_cast<std::size_t>(count + exponent);
        text += m_digits.substr(0, point) + "." + m_digits.substr(point);
    } else {
        text += "0." + std::string(static_cast<std::size_t>(-exponent - count), '0') + m_digits;
    }
    return text;
}

bool operator==(const Decimal& lhs, const Decimal& rhs)
{
    return lhs.m_isNegative == rhs.m_isNegative && canonical(lhs.m_digits, lhs.m_exponent) == canonical(rhs.m_digits, rhs.m_exponent);
}

} // namespace Foundation
