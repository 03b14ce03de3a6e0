#include "Platform/Foundation/String.hpp"

#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/UnicodeSupport.hpp"

#include <cstdlib>
#include <locale.h>

namespace Foundation {

using Unicode::nextBoundary;
using Unicode::previousBoundary;

namespace {

void checkIndex(bool valid)
{
    precondition(valid, "String index is out of bounds");
}

std::size_t advanced(std::string_view text, std::size_t offset, std::int64_t characters)
{
    Unicode::GraphemeWalk walk(text);
    for (; characters > 0 && offset < text.size(); --characters)
        offset = walk.next(offset);
    return offset;
}

std::size_t retreated(std::string_view text, std::size_t offset, std::int64_t characters)
{
    for (; characters > 0 && offset > 0; --characters)
        offset = previousBoundary(text, offset);
    return offset;
}

struct Cluster {
    std::size_t start;
    std::size_t end;
    std::string canonical;
};

std::vector<Cluster> canonicalClusters(std::string_view text)
{
    std::vector<std::size_t> bounds = Unicode::boundaries(text);
    std::vector<Cluster> clusters;
    clusters.reserve(bounds.size() - 1);
    std::string storage;
    for (std::size_t k = 1; k < bounds.size(); ++k) {
        std::string_view cluster = text.substr(bounds[k - 1], bounds[k] - bounds[k - 1]);
        clusters.push_back({bounds[k - 1], bounds[k], std::string(Unicode::nfc(cluster, storage))});
    }
    return clusters;
}

// Non-overlapping occurrences of a non-empty pattern, left to right, matched character by character.
std::vector<String::Range> occurrences(std::string_view text, std::string_view pattern, std::size_t limit)
{
    std::vector<String::Range> found;
    if (Unicode::isASCII(text) && Unicode::isASCII(pattern)) {
        for (std::size_t at = text.find(pattern); at != std::string_view::npos && found.size() < limit;
             at = text.find(pattern, at)) {
            std::size_t end = at + pattern.size();
            // A match that starts or ends inside CR LF would cut that character in two.
            bool cutsCRLF = (at > 0 && text[at - 1] == '\r' && text[at] == '\n')
                || (end < text.size() && text[end - 1] == '\r' && text[end] == '\n');
            if (cutsCRLF) {
                ++at;
                continue;
            }
            found.push_back({{at}, {end}});
            at = end;
        }
        return found;
    }
    std::vector<Cluster> haystack = canonicalClusters(text);
    std::vector<Cluster> needle = canonicalClusters(pattern);
    for (std::size_t i = 0; i + needle.size() <= haystack.size() && found.size() < limit;) {
        std::size_t k = 0;
        while (k < needle.size() && haystack[i + k].canonical == needle[k].canonical)
            ++k;
        if (k < needle.size()) {
            ++i;
            continue;
        }
        found.push_back({{haystack[i].start}, {haystack[i + k - 1].end}});
        i += k;
    }
    return found;
}

// The pieces between separators; `nextSeparator(from)` gives where the next one starts and ends, or
// nothing. Empty pieces are dropped or kept, and at most `maxSplits` cuts made, as the standard library's
// split does.
template <class NextSeparator>
std::vector<String> splitPieces(const String& string, NextSeparator nextSeparator, std::int64_t maxSplits,
                                bool omittingEmptySubsequences)
{
    precondition(maxSplits >= 0, "Must take zero or more splits");
    std::vector<String> pieces;
    std::size_t pieceStart = 0;
    std::int64_t splits = 0;
    for (std::size_t from = 0; splits < maxSplits;) {
        auto separator = nextSeparator(from);
        if (!separator)
            break;
        auto [at, next] = *separator;
        if (!omittingEmptySubsequences || pieceStart != at) {
            pieces.push_back(string.substring({pieceStart}, {at}));
            ++splits;
        }
        pieceStart = from = next;
    }
    if (pieceStart != string.view().size() || !omittingEmptySubsequences)
        pieces.push_back(string.substring({pieceStart}, string.endIndex()));
    return pieces;
}

using Span = std::optional<std::pair<std::size_t, std::size_t>>;

// The pieces between separator characters; `isSeparator(start, end)` judges one character.
template <class IsSeparator>
std::vector<String> splitCharacters(const String& string, IsSeparator isSeparator, std::int64_t maxSplits,
                                    bool omittingEmptySubsequences)
{
    std::string_view text = string.view();
    Unicode::GraphemeWalk walk(text);
    auto nextSeparator = [&](std::size_t from) -> Span {
        for (std::size_t at = from; at < text.size();) {
            std::size_t next = walk.next(at);
            if (isSeparator(at, next))
                return std::pair(at, next);
            at = next;
        }
        return std::nullopt;
    };
    return splitPieces(string, nextSeparator, maxSplits, omittingEmptySubsequences);
}

// The pieces between occurrences of one ASCII character other than CR and LF. Only what stands next to an
// occurrence can make it part of a larger character (a prepended mark before it, an extending one after
// it), so only non-ASCII neighbours are looked at, and no break iterator is needed.
std::vector<String> splitAtASCII(const String& string, char separator, std::int64_t maxSplits,
                                 bool omittingEmptySubsequences)
{
    std::string_view text = string.view();
    // Controls stand alone whatever surrounds them.
    const bool isControl = static_cast<unsigned char>(separator) < 0x20 || separator == 0x7F;
    auto nextSeparator = [&](std::size_t from) -> Span {
        for (std::size_t at = text.find(separator, from); at != std::string_view::npos; at = text.find(separator, at + 1)) {
            if (!isControl) {
                std::size_t before = at;
                if (at > 0 && !Unicode::isASCIIByte(text[at - 1]) && Unicode::joinsFollowing(Unicode::previousScalar(text, before)))
                    continue;
                std::size_t after = at + 1;
                if (after < text.size() && !Unicode::isASCIIByte(text[after]) && Unicode::joinsPreceding(Unicode::nextScalar(text, after)))
                    continue;
            }
            return std::pair(at, at + 1);
        }
        return std::nullopt;
    };
    return splitPieces(string, nextSeparator, maxSplits, omittingEmptySubsequences);
}

} // namespace

// --- Construction ------------------------------------------------------------------------------

String::String(const char* utf8)
    : m_utf8(Unicode::repairedUTF8(utf8 ? std::string(utf8) : std::string()))
{
}

String::String(std::string utf8)
    : m_utf8(Unicode::repairedUTF8(std::move(utf8)))
{
}

String::String(std::string_view utf8)
    : m_utf8(Unicode::repairedUTF8(std::string(utf8)))
{
}

String::String(const Character& character)
    : m_utf8(character.utf8())
{
}

String String::fromScalars(std::u32string_view scalars)
{
    std::string utf8;
    utf8.reserve(scalars.size());
    for (char32_t scalar : scalars)
        Unicode::appendScalar(utf8, scalar);
    return String(Unchecked{}, std::move(utf8));
}

std::optional<String> String::fromUTF8(std::string_view bytes)
{
    if (!Unicode::isValidUTF8(bytes))
        return std::nullopt;
    return String(Unchecked{}, std::string(bytes));
}

String String::fromCheckedUTF8(std::string validUTF8)
{
#ifndef NDEBUG
    preconditionUTF8(validUTF8);
#endif
    return String(Unchecked{}, std::move(validUTF8));
}

void String::preconditionUTF8(std::string_view bytes)
{
    precondition(Unicode::isValidUTF8(bytes), "String::fromCheckedUTF8 was given bytes that are not UTF-8");
}

// --- Characters --------------------------------------------------------------------------------

bool String::isASCII() const
{
    return Unicode::isASCII(m_utf8);
}

std::int64_t String::count() const
{
    return Unicode::characterCount(m_utf8);
}

String::CharacterIterator::CharacterIterator(std::string_view text, std::size_t start)
    : m_text(text)
    , m_start(start)
    , m_end(start < text.size() ? nextBoundary(text, start) : start)
{
}

Character String::CharacterIterator::operator*() const
{
    return Character(Character::Unchecked{}, std::string(m_text.substr(m_start, m_end - m_start)));
}

String::CharacterIterator& String::CharacterIterator::operator++()
{
    m_start = m_end;
    if (m_start < m_text.size())
        m_end = nextBoundary(m_text, m_start);
    return *this;
}

String::CharacterIterator String::begin() const
{
    return CharacterIterator(m_utf8, 0);
}

String::CharacterIterator String::end() const
{
    return CharacterIterator(m_utf8, m_utf8.size());
}

std::vector<Character> String::characters() const
{
    return {begin(), end()};
}

std::u32string String::unicodeScalars() const
{
    return Unicode::scalars(m_utf8);
}

std::optional<Character> String::first() const
{
    if (isEmpty())
        return std::nullopt;
    return *begin();
}

std::optional<Character> String::last() const
{
    if (isEmpty())
        return std::nullopt;
    return (*this)[Index{previousBoundary(m_utf8, m_utf8.size())}];
}

// --- Indices -----------------------------------------------------------------------------------

String::Index String::index(Index after) const
{
    checkIndex(after.offset < m_utf8.size());
    return {nextBoundary(m_utf8, after.offset)};
}

String::Index String::indexBefore(Index i) const
{
    checkIndex(i.offset > 0 && i.offset <= m_utf8.size());
    return {previousBoundary(m_utf8, i.offset)};
}

// A limit only counts when it lies in the direction of travel; landing on it is fine, passing it is not.
std::optional<String::Index> String::index(Index i, std::int64_t offsetBy, std::optional<Index> limitedBy) const
{
    checkIndex(i.offset <= m_utf8.size());
    std::size_t at = i.offset;
    if (offsetBy >= 0) {
        bool limited = limitedBy && *limitedBy >= i;
        for (std::int64_t step = 0; step < offsetBy; ++step) {
            if (limited && at >= limitedBy->offset)
                return std::nullopt;
            checkIndex(at < m_utf8.size());
            at = nextBoundary(m_utf8, at);
        }
        if (limited && at > limitedBy->offset)
            return std::nullopt;
    } else {
        bool limited = limitedBy && *limitedBy <= i;
        for (std::int64_t step = 0; step > offsetBy; --step) {
            if (limited && at <= limitedBy->offset)
                return std::nullopt;
            checkIndex(at > 0);
            at = previousBoundary(m_utf8, at);
        }
        if (limited && at < limitedBy->offset)
            return std::nullopt;
    }
    return Index{at};
}

Character String::operator[](Index i) const
{
    checkIndex(i.offset < m_utf8.size());
    std::size_t end = nextBoundary(m_utf8, i.offset);
    return Character(Character::Unchecked{}, m_utf8.substr(i.offset, end - i.offset));
}

String String::operator[](Range range) const
{
    return substring(range.lowerBound, range.upperBound);
}

String String::substring(Index from, Index to) const
{
    checkIndex(from <= to && to.offset <= m_utf8.size());
    return String(Unchecked{}, m_utf8.substr(from.offset, to.offset - from.offset));
}

// --- Searching ---------------------------------------------------------------------------------

bool String::hasPrefix(const String& prefix) const
{
    std::string_view text = m_utf8;
    std::string_view wanted = prefix.m_utf8;
    std::size_t at = 0;
    for (std::size_t w = 0; w < wanted.size();) {
        if (at == text.size())
            return false;
        std::size_t next = nextBoundary(text, at);
        std::size_t wantedNext = nextBoundary(wanted, w);
        if (!Unicode::canonicallyEqual(text.substr(at, next - at), wanted.substr(w, wantedNext - w)))
            return false;
        at = next;
        w = wantedNext;
    }
    return true;
}

bool String::hasSuffix(const String& suffix) const
{
    std::string_view text = m_utf8;
    std::string_view wanted = suffix.m_utf8;
    std::size_t at = text.size();
    for (std::size_t w = wanted.size(); w > 0;) {
        if (at == 0)
            return false;
        std::size_t before = previousBoundary(text, at);
        std::size_t wantedBefore = previousBoundary(wanted, w);
        if (!Unicode::canonicallyEqual(text.substr(before, at - before), wanted.substr(wantedBefore, w - wantedBefore)))
            return false;
        at = before;
        w = wantedBefore;
    }
    return true;
}

bool String::contains(const String& other) const
{
    return range(other).has_value();
}

bool String::contains(const Character& character) const
{
    return contains(String(character));
}

// An empty text is found at the start, as the standard library's search finds it.
std::optional<String::Range> String::range(const String& other) const
{
    if (other.isEmpty())
        return Range{startIndex(), startIndex()};
    std::vector<Range> found = occurrences(m_utf8, other.m_utf8, 1);
    if (found.empty())
        return std::nullopt;
    return found.front();
}

// --- Transformations ---------------------------------------------------------------------------

String String::lowercased() const
{
    return String(Unchecked{}, Unicode::lowercased(m_utf8));
}

String String::uppercased() const
{
    return String(Unchecked{}, Unicode::uppercased(m_utf8));
}

String String::trimmingCharacters(const CharacterSet& set) const
{
    std::string_view text = m_utf8;
    std::size_t start = 0;
    std::size_t end = text.size();
    while (start < end) {
        std::size_t next = start;
        if (!set.contains(Unicode::nextScalar(text, next)))
            break;
        start = next;
    }
    while (end > start) {
        std::size_t before = end;
        if (!set.contains(Unicode::previousScalar(text, before)))
            break;
        end = before;
    }
    return substring({start}, {end});
}

String String::replacingOccurrences(const String& target, const String& replacement) const
{
    if (target.isEmpty())
        return *this;
    std::vector<Range> found = occurrences(m_utf8, target.m_utf8, std::numeric_limits<std::size_t>::max());
    if (found.empty())
        return *this;
    std::string result;
    std::size_t copied = 0;
    for (const Range& range : found) {
        result.append(m_utf8, copied, range.lowerBound.offset - copied);
        result += replacement.m_utf8;
        copied = range.upperBound.offset;
    }
    result.append(m_utf8, copied);
    return String(Unchecked{}, std::move(result));
}

String String::prefix(std::int64_t maxLength) const
{
    precondition(maxLength >= 0, "Can't take a prefix of negative length from a collection");
    return substring(startIndex(), {advanced(m_utf8, 0, maxLength)});
}

String String::suffix(std::int64_t maxLength) const
{
    precondition(maxLength >= 0, "Can't take a suffix of negative length from a collection");
    return substring({retreated(m_utf8, m_utf8.size(), maxLength)}, endIndex());
}

String String::dropFirst(std::int64_t k) const
{
    precondition(k >= 0, "Can't drop a negative number of elements from a collection");
    return substring({advanced(m_utf8, 0, k)}, endIndex());
}

String String::dropLast(std::int64_t k) const
{
    precondition(k >= 0, "Can't drop a negative number of elements from a collection");
    return substring(startIndex(), {retreated(m_utf8, m_utf8.size(), k)});
}

// --- Splitting ---------------------------------------------------------------------------------

std::vector<String> String::split(const Character& separator, std::int64_t maxSplits,
                                  bool omittingEmptySubsequences) const
{
    std::string_view wanted = separator.utf8();
    if (wanted.size() == 1 && Unicode::isASCIIByte(wanted[0]) && wanted[0] != '\r' && wanted[0] != '\n')
        return splitAtASCII(*this, wanted[0], maxSplits, omittingEmptySubsequences);
    std::string_view text = m_utf8;
    auto isSeparator = [&](std::size_t start, std::size_t end) {
        return Unicode::canonicallyEqual(text.substr(start, end - start), wanted);
    };
    return splitCharacters(*this, isSeparator, maxSplits, omittingEmptySubsequences);
}

std::vector<String> String::split(const std::function<bool(const Character&)>& isSeparator,
                                  std::int64_t maxSplits, bool omittingEmptySubsequences) const
{
    auto isSeparatorAt = [&](std::size_t start, std::size_t end) {
        return isSeparator(Character(Character::Unchecked{}, m_utf8.substr(start, end - start)));
    };
    return splitCharacters(*this, isSeparatorAt, maxSplits, omittingEmptySubsequences);
}

std::vector<String> String::components(const String& separator) const
{
    if (separator.isEmpty())
        return {*this};
    std::vector<String> pieces;
    Index pieceStart = startIndex();
    for (const Range& range : occurrences(m_utf8, separator.m_utf8, std::numeric_limits<std::size_t>::max())) {
        pieces.push_back(substring(pieceStart, range.lowerBound));
        pieceStart = range.upperBound;
    }
    pieces.push_back(substring(pieceStart, endIndex()));
    return pieces;
}

std::vector<String> String::components(const CharacterSet& separators) const
{
    std::string_view text = m_utf8;
    std::vector<String> pieces;
    std::size_t pieceStart = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t next = at;
        if (separators.contains(Unicode::nextScalar(text, next))) {
            pieces.push_back(substring({pieceStart}, {at}));
            pieceStart = next;
        }
        at = next;
    }
    pieces.push_back(substring({pieceStart}, endIndex()));
    return pieces;
}

// --- Building ----------------------------------------------------------------------------------

void String::append(const String& other)
{
    m_utf8 += other.m_utf8;
}

void String::append(const Character& character)
{
    m_utf8 += character.utf8();
}

String& String::operator+=(const String& other)
{
    append(other);
    return *this;
}

String operator+(String lhs, const String& rhs)
{
    lhs.append(rhs);
    return lhs;
}

String joined(const std::vector<String>& pieces, const String& separator)
{
    String result;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            result.append(separator);
        result.append(pieces[i]);
    }
    return result;
}

// --- Comparison --------------------------------------------------------------------------------

bool operator==(const String& lhs, const String& rhs)
{
    return Unicode::canonicallyEqual(lhs.m_utf8, rhs.m_utf8);
}

// UTF-8 byte order is scalar order, so comparing NFC bytes orders by scalars.
std::strong_ordering operator<=>(const String& lhs, const String& rhs)
{
    if (lhs.m_utf8 == rhs.m_utf8)
        return std::strong_ordering::equal;
    std::string lhsStorage;
    std::string rhsStorage;
    return Unicode::nfc(lhs.m_utf8, lhsStorage).compare(Unicode::nfc(rhs.m_utf8, rhsStorage)) <=> 0;
}

std::size_t String::hash() const
{
    return Unicode::canonicalHash(m_utf8);
}

// --- Number parsing ----------------------------------------------------------------------------

namespace {

int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<std::int64_t> parseInt(std::string_view text, int radix)
{
    precondition(radix >= 2 && radix <= 36, "Radix not in range 2...36");
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    // The magnitude of the minimum is one more than the maximum.
    const std::uint64_t limit = std::uint64_t(std::numeric_limits<std::int64_t>::max()) + (negative ? 1 : 0);
    const auto base = static_cast<std::uint64_t>(radix);
    std::uint64_t magnitude = 0;
    for (char c : text) {
        int digit = digitValue(c);
        if (digit < 0 || digit >= radix)
            return std::nullopt;
        if (magnitude > (limit - static_cast<std::uint64_t>(digit)) / base)
            return std::nullopt;
        magnitude = magnitude * base + static_cast<std::uint64_t>(digit);
    }
    return static_cast<std::int64_t>(negative ? 0 - magnitude : magnitude);
}

std::optional<double> parseDouble(std::string_view text)
{
    // strtod would skip leading white space; the platform's parser rejects it.
    if (text.empty() || std::string_view(" \t\n\v\f\r").find(text.front()) != std::string_view::npos)
        return std::nullopt;
    // The C locale, so that the decimal point never depends on the user's settings.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    const std::string terminated(text); // an embedded NUL ends parsing early and so fails below
    char* end = nullptr;
    double value = strtod_l(terminated.c_str(), &end, cLocale);
    if (end != terminated.c_str() + terminated.size())
        return std::nullopt;
    return value;
}

} // namespace Foundation
