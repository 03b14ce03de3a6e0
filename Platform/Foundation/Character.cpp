#include "Platform/Foundation/Character.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/UnicodeSupport.hpp"

#include <cmath>
#include <limits>

#include <unicode/uchar.h>

namespace Foundation {

namespace {

bool hasProperty(char32_t scalar, UProperty property)
{
    return u_hasBinaryProperty(static_cast<UChar32>(scalar), property);
}

std::uint32_t categoryMask(char32_t scalar)
{
    return U_GET_GC_MASK(static_cast<UChar32>(scalar));
}

} // namespace

Character::Character(char32_t scalar)
{
    Unicode::appendScalar(m_utf8, scalar);
}

Character::Character(std::string utf8Cluster)
    : m_utf8(Unicode::repairedUTF8(std::move(utf8Cluster)))
{
    precondition(Unicode::isSingleCharacter(m_utf8),
                 "Can't form a Character from a String containing other than one extended grapheme cluster");
}

std::u32string Character::unicodeScalars() const
{
    return Unicode::scalars(m_utf8);
}

char32_t Character::firstScalar() const
{
    return Unicode::firstScalar(m_utf8);
}

bool Character::isSingleScalar() const
{
    std::size_t end = 0;
    Unicode::nextScalar(m_utf8, end);
    return end == m_utf8.size();
}

bool Character::isASCII() const
{
    return asciiValue().has_value();
}

std::optional<std::uint8_t> Character::asciiValue() const
{
    if (m_utf8 == "\r\n")
        return '\n';
    if (m_utf8.size() == 1 && Unicode::isASCIIByte(m_utf8[0]))
        return static_cast<std::uint8_t>(m_utf8[0]);
    return std::nullopt;
}

// The classifying properties look at the first scalar only, so "e" + U+0301 is a letter and CR LF a newline.

bool Character::isWhitespace() const
{
    return hasProperty(firstScalar(), UCHAR_WHITE_SPACE);
}

bool Character::isNewline() const
{
    char32_t scalar = firstScalar();
    return (scalar >= 0x0A && scalar <= 0x0D) || scalar == 0x85 || scalar == 0x2028 || scalar == 0x2029;
}

bool Character::isLetter() const
{
    return hasProperty(firstScalar(), UCHAR_ALPHABETIC);
}

bool Character::isNumber() const
{
    return u_getIntPropertyValue(static_cast<UChar32>(firstScalar()), UCHAR_NUMERIC_TYPE) != U_NT_NONE;
}

bool Character::isWholeNumber() const
{
    if (!isSingleScalar())
        return false;
    double value = u_getNumericValue(static_cast<UChar32>(firstScalar()));
    return value != U_NO_NUMERIC_VALUE && value == std::floor(value);
}

// Whole numbers beyond the range of int (a few CJK and Pahawh Hmong numerals) give nothing here.
std::optional<int> Character::wholeNumberValue() const
{
    if (!isWholeNumber())
        return std::nullopt;
    double value = u_getNumericValue(static_cast<UChar32>(firstScalar()));
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

bool Character::isHexDigit() const
{
    return hexDigitValue().has_value();
}

// ASCII and full-width forms only; other scripts' digits are not hexadecimal.
std::optional<int> Character::hexDigitValue() const
{
    if (!isSingleScalar())
        return std::nullopt;
    char32_t scalar = firstScalar();
    if (scalar >= 0xFF10 && scalar <= 0xFF5A)
        scalar -= 0xFF10 - U'0'; // full-width forms sit at a fixed distance from ASCII
    if (scalar >= U'0' && scalar <= U'9')
        return static_cast<int>(scalar - U'0');
    if (scalar >= U'A' && scalar <= U'F')
        return static_cast<int>(scalar - U'A' + 10);
    if (scalar >= U'a' && scalar <= U'f')
        return static_cast<int>(scalar - U'a' + 10);
    return std::nullopt;
}

bool Character::isPunctuation() const
{
    return categoryMask(firstScalar()) & U_GC_P_MASK;
}

bool Character::isSymbol() const
{
    return categoryMask(firstScalar()) & U_GC_S_MASK;
}

bool Character::isMathSymbol() const
{
    return hasProperty(firstScalar(), UCHAR_MATH);
}

bool Character::isCurrencySymbol() const
{
    return categoryMask(firstScalar()) & U_GC_SC_MASK;
}

// A single scalar answers from its own property; a longer cluster (say "E" + U+0301) is uppercase when
// case mapping leaves it unchanged upwards but changes it downwards.
bool Character::isUppercase() const
{
    if (isSingleScalar() && hasProperty(firstScalar(), UCHAR_UPPERCASE))
        return true;
    return String(*this) == uppercased() && isCased();
}

bool Character::isLowercase() const
{
    if (isSingleScalar() && hasProperty(firstScalar(), UCHAR_LOWERCASE))
        return true;
    return String(*this) == lowercased() && isCased();
}

bool Character::isCased() const
{
    if (isSingleScalar() && hasProperty(firstScalar(), UCHAR_CASED))
        return true;
    String self(*this);
    return self != uppercased() || self != lowercased();
}

String Character::lowercased() const
{
    return String(String::Unchecked{}, Unicode::lowercased(m_utf8));
}

String Character::uppercased() const
{
    return String(String::Unchecked{}, Unicode::uppercased(m_utf8));
}

bool operator==(const Character& lhs, const Character& rhs)
{
    return Unicode::canonicallyEqual(lhs.m_utf8, rhs.m_utf8);
}

std::size_t Character::hash() const
{
    return Unicode::canonicalHash(m_utf8);
}

} // namespace Foundation
