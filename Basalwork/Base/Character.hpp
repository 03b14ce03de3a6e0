#pragma once

#include "Platform/Foundation/Character.hpp"
#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/String.hpp"

#include <optional>
#include <vector>

namespace Basalwork {

// Type-level characters of Character that text and CSV scanning share, each made once.
struct Characters {
    static const Foundation::Character& comma();
    static const Foundation::Character& quote();
    static const Foundation::Character& backslash();
    static const Foundation::Character& colon();
    static const Foundation::Character& space();
    static const Foundation::Character& period();
    static const Foundation::Character& pipe();
    // What a press of the delete key produces.
    static const Foundation::Character& delete_();
    static const Foundation::Character& byteOrderMark();
    static const Foundation::Character& lineFeed();
    static const Foundation::Character& lineTabulation();
    static const Foundation::Character& formFeed();
    static const Foundation::Character& carriageReturn();
    // CR LF, one character.
    static const Foundation::Character& carriageReturnLineFeed();
    static const Foundation::Character& nextLine();
    static const Foundation::Character& lineSeparator();
    static const Foundation::Character& paragraphSeparator();
    // The eight newline characters above, from lineFeed to paragraphSeparator, in that order.
    static const std::vector<Foundation::Character>& newlines();
};

bool isByteOrderMark(const Foundation::Character& character);
bool isBackslash(const Foundation::Character& character);
// A character converts, so these serve Character and Character? alike; nil is neither.
bool isQuote(const std::optional<Foundation::Character>& character);
bool isComma(const std::optional<Foundation::Character>& character);
// A newline is a character whose first scalar is U+000A to U+000D, U+0085, U+2028 or U+2029, so CR LF
// is one. nil is none.
bool isNewline(const std::optional<Foundation::Character>& character);
// The same for a Character, which would otherwise convert to String and Character? alike.
bool isNewline(const Foundation::Character& character);
bool isNotNewline(const Foundation::Character& character);
bool isLetterOrNumber(const Foundation::Character& character);
Foundation::Data utf8Data(const Foundation::Character& character);
// Accented Latin letters folded to plain lower-case ASCII ("É" gives "e"); the character itself when the
// fold leaves nothing.
Foundation::String normalized(const Foundation::Character& character);

} // namespace Basalwork
