#include "Shared/Model/ColorDifferentiation.hpp"

#include <algorithm>

namespace Shared {

std::int64_t ColorDifferentiation::mode(const Foundation::String& string)
{
    const auto characters = string.characters();
    const bool hasLetter = std::ranges::any_of(characters, [](const Foundation::Character& character) { return character.isLetter(); });
    return hasLetter ? numbersSymbolsAndPunctuation : symbolsAndPunctuation;
}

} // namespace Shared
