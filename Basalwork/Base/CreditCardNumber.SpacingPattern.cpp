#include "Basalwork/Base/CreditCardNumber.SpacingPattern.hpp"

#include "Platform/Foundation/Character.hpp"

namespace Basalwork {

CreditCardNumber::SpacingPattern::SpacingPattern(const Foundation::String& number)
    : m_case(Case::unknown)
{
    std::int64_t digits = 0;
    std::optional<Foundation::Character> firstDigit;
    for (const auto& character : number) {
        if (!character.isNumber())
            continue;
        if (!firstDigit)
            firstDigit = character;
        ++digits;
    }
    switch (digits) {
    case 13:
        m_case = Case::fourFourFive;
        break;
    case 14:
        m_case = Case::fourSixFour;
        break;
    case 15:
        m_case = *firstDigit == Foundation::Character(U'1') ? Case::fourFiveSix : Case::fourSixFive;
        break;
    case 16:
        m_case = Case::fourFourFourFour;
        break;
    case 19:
        m_case = Case::fourFourFourFourThree;
        break;
    default:
        break;
    }
}

std::vector<std::int64_t> CreditCardNumber::SpacingPattern::indiciesOfSpaces() const
{
    switch (m_case) {
    case Case::fourFourFourFour:
        return {4, 8, 12};
    case Case::fourSixFive:
        return {4, 10};
    case Case::sixThirteen:
        return {6};
    case Case::fourFourFive:
        return {4, 8};
    case Case::fourFourFourFourThree:
        return {4, 8, 12, 16};
    case Case::fourSixFour:
        return {4, 10};
    case Case::fourFiveSix:
        return {4, 9};
    case Case::unknown:
        break;
    }
    return {};
}

} // namespace Basalwork
