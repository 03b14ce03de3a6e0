#pragma once

#include "Platform/Foundation/String.hpp"

#include <cstdint>

namespace Shared {

// Which characters of a secret shown character by character stand apart from the rest in colour:
// 0 digits, symbols and punctuation; 1 symbols and punctuation only; 2 none.
struct ColorDifferentiation {
    static constexpr std::int64_t numbersSymbolsAndPunctuation = 0;
    static constexpr std::int64_t symbolsAndPunctuation = 1;
    static constexpr std::int64_t none = 2;

    // A secret with letters sets its digits apart too; one of digits only (a PIN) would be all colour,
    // so only its symbols and punctuation stand out.
    static std::int64_t mode(const Foundation::String& string);
};

} // namespace Shared
