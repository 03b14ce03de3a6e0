#pragma once

#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace Foundation {

// A base-10 number: a whole significand of up to 38 digits times a power of ten from -128 to 127, so that
// amounts written in decimal stay exact.
class Decimal {
public:
    static constexpr std::size_t maximumDigits = 38;
    static constexpr std::int32_t minimumExponent = -128;
    static constexpr std::int32_t maximumExponent = 127;

    Decimal() = default;
    Decimal(std::int64_t value); // NOLINT(google-explicit-constructor): integers are decimals
    // Decimal(sign:exponent:significand:) for a whole significand; the exponent must lie in range.
    Decimal(bool isNegative, std::int32_t exponent, std::uint64_t significand);
    // Decimal(string:): an optional sign, digits with an optional point, an optional exponent, with "." as
    // the point whatever the locale. Nothing for anything else, or for a value beyond the digits and
    // exponents a decimal holds.
    static std::optional<Decimal> fromString(std::string_view text);

    bool isZero() const { return m_digits.empty(); }
    bool isNegative() const { return m_isNegative; }
    std::int32_t exponent() const { return m_exponent; }
    // The significand's digits, most significant first; empty for zero.
    const std::string& significandDigits() const { return m_digits; }

    // Plain positional notation: "-12.5", "0.001", "1200".
    String description() const;

    friend bool operator==(const Decimal& lhs, const Decimal& rhs);

private:
    Decimal(bool isNegative, std::int64_t exponent, std::string digits);

    bool m_isNegative = false;
    std::int32_t m_exponent = 0;
    std::string m_digits;
};

} // namespace Foundation
