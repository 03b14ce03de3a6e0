#include "Basalwork/Base/CreditCardNumber.hpp"

#include "Platform/Foundation/Character.hpp"
#include "Platform/Foundation/CharacterSet.hpp"

#include <algorithm>

namespace Basalwork {

CreditCardNumber::CreditCardNumber(const Foundation::String& text)
    : m_unformatted(text.trimmingCharacters(Foundation::CharacterSet::whitespacesAndNewlines()))
{
}

Foundation::String CreditCardNumber::withoutSpaces() const
{
    Foundation::String digits;
    for (const auto& character : m_unformatted)
        if (character.isNumber())
            digits.append(character);
    return digits;
}

Foundation::String CreditCardNumber::withSpaces() const
{
    Foundation::String digits = withoutSpaces();
    std::vector<std::int64_t> spaces = SpacingPattern(digits).indiciesOfSpaces();
    Foundation::String grouped;
    std::int64_t position = 0;
    for (const auto& character : digits) {
        if (std::find(spaces.begin(), spaces.end(), position) != spaces.end())
            grouped.append(" ");
        grouped.append(character);
        ++position;
    }
    return grouped;
}

Foundation::String CreditCardNumber::masked() const
{
    Foundation::String grouped = withSpaces();
    if (grouped.count() < 13)
        return "****";
    const auto& whitespace = Foundation::CharacterSet::whitespacesAndNewlines();
    return grouped.prefix(4).trimmingCharacters(whitespace) + " **** " + grouped.suffix(4).trimmingCharacters(whitespace);
}

} // namespace Basalwork
