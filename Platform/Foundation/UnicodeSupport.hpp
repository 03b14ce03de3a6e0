#pragma once

// Private to Foundation's text types: UTF-8 helpers over ICU. Every entry point keeps pure-ASCII
// text away from ICU, because nearly all text we handle is ASCII.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <unicode/utf8.h>

namespace Foundation::Unicode {

inline bool isASCIIByte(char byte) { return static_cast<unsigned char>(byte) < 0x80; }
bool isASCII(std::string_view text);

// --- Scalars -----------------------------------------------------------------------------------

bool isValidUTF8(std::string_view bytes);
// Each maximal ill-formed subsequence becomes one U+FFFD, as the platform decodes.
std::string repairedUTF8(std::string bytes);
// Scalars outside the Unicode range and surrogates are written as U+FFFD.
void appendScalar(std::string& utf8, char32_t scalar);
std::u32string scalars(std::string_view utf8);

// Decodes the scalar starting at `offset` in valid UTF-8 and moves `offset` past it.
inline char32_t nextScalar(std::string_view utf8, std::size_t& offset)
{
    if (isASCIIByte(utf8[offset]))
        return static_cast<unsigned char>(utf8[offset++]);
    UChar32 scalar;
    U8_NEXT_OR_FFFD(reinterpret_cast<const std::uint8_t*>(utf8.data()), offset, utf8.size(), scalar);
    return static_cast<char32_t>(scalar);
}

// Decodes the scalar ending at `offset` in valid UTF-8 and moves `offset` to its start.
inline char32_t previousScalar(std::string_view utf8, std::size_t& offset)
{
    std::size_t start = offset - 1;
    while (start > 0 && (static_cast<unsigned char>(utf8[start]) & 0xC0) == 0x80)
        --start;
    std::size_t end = start;
    char32_t scalar = nextScalar(utf8, end);
    offset = start;
    return scalar;
}

inline char32_t firstScalar(std::string_view utf8)
{
    std::size_t offset = 0;
    return nextScalar(utf8, offset);
}

// --- Grapheme clusters -------------------------------------------------------------------------
// Offsets are byte offsets on character boundaries.

std::size_t nextBoundaryICU(std::string_view text, std::size_t offset);
std::size_t previousBoundaryICU(std::string_view text, std::size_t offset);

// ASCII only joins across a boundary as CR LF; anything else ASCII breaks on both sides, unless a
// non-ASCII neighbour (an extending mark after it, a prepended mark before it) says otherwise.
inline std::size_t nextBoundary(std::string_view text, std::size_t offset)
{
    if (isASCIIByte(text[offset])) {
        if (offset + 1 == text.size())
            return offset + 1;
        if (isASCIIByte(text[offset + 1]))
            return text[offset] == '\r' && text[offset + 1] == '\n' ? offset + 2 : offset + 1;
    }
    return nextBoundaryICU(text, offset);
}

inline std::size_t previousBoundary(std::string_view text, std::size_t offset)
{
    if (isASCIIByte(text[offset - 1])) {
        if (offset == 1)
            return 0;
        if (isASCIIByte(text[offset - 2]))
            return text[offset - 2] == '\r' && text[offset - 1] == '\n' ? offset - 2 : offset - 1;
    }
    return previousBoundaryICU(text, offset);
}

// Whether a character that is neither a control nor part of an emoji or flag sequence ends where the scalar
// before it ends (no prepended mark before it joins it) and where it ends itself (no extending or spacing
// mark, nor a joiner, follows): what a walk would find, from the two neighbours alone.
bool joinsFollowing(char32_t before);
bool joinsPreceding(char32_t after);

// One walk over the characters of one text: the thread's break iterator is given the text once, when the
// first character that needs it comes, and again only if something else used the iterator meanwhile.
// Characters whose neighbours are ASCII never need it.
class GraphemeWalk {
public:
    explicit GraphemeWalk(std::string_view text)
        : m_text(text)
    {
    }
    std::size_t next(std::size_t offset)
    {
        if (isASCIIByte(m_text[offset])) {
            if (offset + 1 == m_text.size())
                return offset + 1;
            if (isASCIIByte(m_text[offset + 1]))
                return m_text[offset] == '\r' && m_text[offset + 1] == '\n' ? offset + 2 : offset + 1;
        }
        return nextICU(offset);
    }
    // Whether a character starts (or the text ends) at `offset`.
    bool isBoundary(std::size_t offset);

private:
    std::size_t nextICU(std::size_t offset);
    void* iterator();

    std::string_view m_text;
    void* m_iterator = nullptr;
    std::uint64_t m_generation = 0;
};

inline bool isSingleCharacter(std::string_view text)
{
    return !text.empty() && nextBoundary(text, 0) == text.size();
}

std::int64_t characterCount(std::string_view text);
// Every boundary, from 0 to text.size() inclusive.
std::vector<std::size_t> boundaries(std::string_view text);

// --- Canonical equivalence ---------------------------------------------------------------------

// The NFC form: `text` itself when it is already normalized, otherwise a view of `storage`.
std::string_view nfc(std::string_view text, std::string& storage);
bool canonicallyEqualICU(std::string_view lhs, std::string_view rhs);

inline bool canonicallyEqual(std::string_view lhs, std::string_view rhs)
{
    if (lhs == rhs)
        return true;
    if (isASCII(lhs) && isASCII(rhs))
        return false;
    return canonicallyEqualICU(lhs, rhs);
}

std::size_t canonicalHash(std::string_view text);

// --- Case mapping (full mappings, root locale) --------------------------------------------------

std::string lowercased(std::string_view text);
std::string uppercased(std::string_view text);

} // namespace Foundation::Unicode
