#include "Basalwork/Interface/UIPress.hpp"

namespace Basalwork {

std::optional<Foundation::Character> firstCharacter(const UIKit::UIPress& press)
{
    if (!press.key())
        return std::nullopt;
    return press.key()->characters().first();
}

bool isSingleLetterOrNumberKey(const UIKit::UIPress& press)
{
    if (!press.key())
        return false;
    const auto& characters = press.key()->characters();
    if (characters.count() != 1)
        return false;
    auto character = characters.first();
    return character && (character->isLetter() || character->isNumber());
}

} // namespace Basalwork
