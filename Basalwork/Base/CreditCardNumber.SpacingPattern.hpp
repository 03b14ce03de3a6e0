#pragma once

#include "Basalwork/Base/CreditCardNumber.hpp"

#include "Platform/Foundation/String.hpp"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace Basalwork {

// How the digits of a card number are grouped.
class CreditCardNumber::SpacingPattern {
public:
    enum class Case {
        fourFourFourFour,
        fourSixFive,
        sixThirteen,
        fourFourFive,
        fourFourFourFourThree,
        fourSixFour,
        fourFiveSix,
        unknown,
    };
    static constexpr Case fourFourFourFour = Case::fourFourFourFour;
    static constexpr Case fourSixFive = Case::fourSixFive;
    static constexpr Case sixThirteen = Case::sixThirteen;
    static constexpr Case fourFourFive = Case::fourFourFive;
    static constexpr Case fourFourFourFourThree = Case::fourFourFourFourThree;
    static constexpr Case fourSixFour = Case::fourSixFour;
    static constexpr Case fourFiveSix = Case::fourFiveSix;
    static constexpr Case unknown = Case::unknown;

    constexpr SpacingPattern(Case value) // NOLINT(google-explicit-constructor): a case is a pattern
        : m_case(value)
    {
    }
    // The pattern the count of number characters in `number` suggests. Never sixThirteen.
    explicit SpacingPattern(const Foundation::String& number);

    static constexpr std::array<SpacingPattern, 8> allCases()
    {
        return {fourFourFourFour, fourSixFive, sixThirteen, fourFourFive, fourFourFourFourThree, fourSixFour, fourFiveSix, unknown};
    }

    constexpr Case value() const { return m_case; }
    // The 0-based digit positions before which a space is written.
    std::vector<std::int64_t> indiciesOfSpaces() const;

    friend constexpr bool operator==(SpacingPattern, SpacingPattern) = default;

private:
    Case m_case;
};

} // namespace Basalwork

template <>
struct std::hash<Basalwork::CreditCardNumber::SpacingPattern> {
    std::size_t operator()(Basalwork::CreditCardNumber::SpacingPattern pattern) const
    {
        return static_cast<std::size_t>(pattern.value());
    }
};
