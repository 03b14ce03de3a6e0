#include "Basalwork/Base/Character.hpp"

#include "Platform/Foundation/StringTransform.hpp"

namespace Basalwork {

using Foundation::Character;

const Character& Characters::comma()
{
    static const Character value(U',');
    return value;
}

const Character& Characters::quote()
{
    static const Character value(U'"');
    return value;
}

const Character& Characters::backslash()
{
    static const Character value(U'\\');
    return value;
}

const Character& Characters::colon()
{
    static const Character value(U':');
    return value;
}

const Character& Characters::space()
{
    static const Character value(U' ');
    return value;
}

const Character& Characters::period()
{
    static const Character value(U'.');
    return value;
}

const Character& Characters::pipe()
{
    static const Character value(U'|');
    return value;
}

const Character& Characters::delete_()
{
    static const Character value(U'\u0008');
    return value;
}

const Character& Characters::byteOrderMark()
{
    static const Character value(U'\uFEFF');
    return value;
}

const Character& Characters::lineFeed()
{
    static const Character value(U'\n');
    return value;
}

const Character& Characters::lineTabulation()
{
    static const Character value(U'\v');
    return value;
}

const Character& Characters::formFeed()
{
    static const Character value(U'\f');
    return value;
}

const Character& Characters::carriageReturn()
{
    static const Character value(U'\r');
    return value;
}

const Character& Characters::carriageReturnLineFeed()
{
    static const Character value("\r\n");
    return value;
}

const Character& Characters::nextLine()
{
    static const Character value(U'\u0085');
    return value;
}

const Character& Characters::lineSeparator()
{
    static const Character value(U'\u2028');
    return value;
}

const Character& Characters::paragraphSeparator()
{
    static const Character value(U'\u2029');
    return value;
}

const std::vector<Character>& Characters::newlines()
{
    static const std::vector<Character> value = {lineFeed(),  lineTabulation(), formFeed(),      carriageReturn(),
                                                 carriageReturnLineFeed(), nextLine(), lineSeparator(), paragraphSeparator()};
    return value;
}

bool isByteOrderMark(const Character& character)
{
    return character == Characters::byteOrderMark();
}

bool isBackslash(const Character& character)
{
    return character == Characters::backslash();
}

bool isQuote(const std::optional<Character>& character)
{
    return character && *character == Characters::quote();
}

bool isComma(const std::optional<Character>& character)
{
    return character && *character == Characters::comma();
}

bool isNewline(const std::optional<Character>& character)
{
    return character && character->isNewline();
}

bool isNewline(const Character& character)
{
    return character.isNewline();
}

bool isNotNewline(const Character& character)
{
    return !character.isNewline();
}

bool isLetterOrNumber(const Character& character)
{
    return character.isLetter() || character.isNumber();
}

Foundation::Data utf8Data(const Character& character)
{
    return Foundation::Data::fromString(character.utf8());
}

Foundation::String normalized(const Character& character)
{
    auto folded = Foundation::String(character).applyingTransform(Foundation::StringTransform {"Latin-ASCII; Lower"}, false);
    return folded && !folded->isEmpty() ? *folded : Foundation::String(character);
}

} // namespace Basalwork
