#include "Platform/Foundation/UnicodeSupport.hpp"

#include "Platform/Foundation/FatalError.hpp"

#include <cstring>
#include <functional>
#include <memory>

#include <unicode/brkiter.h>
#include <unicode/bytestream.h>
#include <unicode/casemap.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/utext.h>

namespace Foundation::Unicode {

namespace {

void checkICU(UErrorCode status, std::string_view what)
{
    if (U_FAILURE(status))
        fatalError(std::string(what) + ": " + u_errorName(status));
}

icu::StringPiece piece(std::string_view text)
{
    return {text.data(), static_cast<std::int32_t>(text.size())};
}

// Counts the texts given to the thread's iterator, so that a walk can tell whether it still holds its own.
thread_local std::uint64_t iteratorGeneration = 0;

// One iterator per thread: creating one loads rule data, and iterators are not thread-safe.
icu::BreakIterator& graphemeIterator(std::string_view text)
{
    ++iteratorGeneration;
    thread_local const std::unique_ptr<icu::BreakIterator> iterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> made(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        checkICU(status, "Grapheme break iterator");
        return made;
    }();
    // A UTF-8 UText indexes by byte, so boundaries come back as byte offsets with no conversion.
    UErrorCode status = U_ZERO_ERROR;
    UText utext = UTEXT_INITIALIZER;
    utext_openUTF8(&utext, text.data(), static_cast<std::int64_t>(text.size()), &status);
    iterator->setText(&utext, status);
    utext_close(&utext);
    checkICU(status, "Grapheme break iterator");
    return *iterator;
}

std::size_t toOffset(std::int32_t boundary, std::string_view text)
{
    return boundary == icu::BreakIterator::DONE ? text.size() : static_cast<std::size_t>(boundary);
}

const icu::Normalizer2& nfcNormalizer()
{
    static const icu::Normalizer2& normalizer = [] () -> const icu::Normalizer2& {
        UErrorCode status = U_ZERO_ERROR;
        const icu::Normalizer2* instance = icu::Normalizer2::getNFCInstance(status);
        checkICU(status, "NFC normalizer");
        return *instance;
    }();
    return normalizer;
}

} // namespace

bool isASCII(std::string_view text)
{
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, sizeof word);
        if (word & 0x8080808080808080ULL)
            return false;
    }
    for (; i < text.size(); ++i) {
        if (!isASCIIByte(text[i]))
            return false;
    }
    return true;
}

bool isValidUTF8(std::string_view bytes)
{
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    for (std::size_t i = 0; i < bytes.size();) {
        UChar32 scalar;
        U8_NEXT(data, i, bytes.size(), scalar);
        if (scalar < 0)
            return false;
    }
    return true;
}

std::string repairedUTF8(std::string bytes)
{
    if (isASCII(bytes) || isValidUTF8(bytes))
        return bytes;
    std::string repaired;
    repaired.reserve(bytes.size() + 8);
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    for (std::size_t i = 0; i < bytes.size();) {
        UChar32 scalar;
        U8_NEXT_OR_FFFD(data, i, bytes.size(), scalar);
        appendScalar(repaired, static_cast<char32_t>(scalar));
    }
    return repaired;
}

void appendScalar(std::string& utf8, char32_t scalar)
{
    if (scalar < 0x80) {
        utf8 += static_cast<char>(scalar);
        return;
    }
    if (scalar > 0x10FFFF || (scalar >= 0xD800 && scalar <= 0xDFFF))
        scalar = 0xFFFD;
    char buffer[U8_MAX_LENGTH];
    std::size_t length = 0;
    U8_APPEND_UNSAFE(buffer, length, scalar);
    utf8.append(buffer, length);
}

std::u32string scalars(std::string_view utf8)
{
    std::u32string result;
    result.reserve(utf8.size());
    for (std::size_t offset = 0; offset < utf8.size();)
        result += nextScalar(utf8, offset);
    return result;
}

std::size_t nextBoundaryICU(std::string_view text, std::size_t offset)
{
    return toOffset(graphemeIterator(text).following(static_cast<std::int32_t>(offset)), text);
}

std::size_t previousBoundaryICU(std::string_view text, std::size_t offset)
{
    std::int32_t boundary = graphemeIterator(text).preceding(static_cast<std::int32_t>(offset));
    return boundary == icu::BreakIterator::DONE ? 0 : static_cast<std::size_t>(boundary);
}

bool joinsFollowing(char32_t before)
{
    return u_getIntPropertyValue(static_cast<UChar32>(before), UCHAR_GRAPHEME_CLUSTER_BREAK) == U_GCB_PREPEND;
}

bool joinsPreceding(char32_t after)
{
    auto kind = u_getIntPropertyValue(static_cast<UChar32>(after), UCHAR_GRAPHEME_CLUSTER_BREAK);
    return kind == U_GCB_EXTEND || kind == U_GCB_ZWJ || kind == U_GCB_SPACING_MARK;
}

void* GraphemeWalk::iterator()
{
    if (!m_iterator || m_generation != iteratorGeneration) {
        m_iterator = &graphemeIterator(m_text);
        m_generation = iteratorGeneration;
    }
    return m_iterator;
}

std::size_t GraphemeWalk::nextICU(std::size_t offset)
{
    auto* walker = static_cast<icu::BreakIterator*>(iterator());
    return toOffset(walker->following(static_cast<std::int32_t>(offset)), m_text);
}

bool GraphemeWalk::isBoundary(std::size_t offset)
{
    if (offset == 0 || offset >= m_text.size())
        return true;
    return static_cast<icu::BreakIterator*>(iterator())->isBoundary(static_cast<std::int32_t>(offset));
}

std::int64_t characterCount(std::string_view text)
{
    if (isASCII(text)) {
        std::int64_t crlf = 0;
        for (std::size_t i = 1; i < text.size(); ++i)
            crlf += text[i - 1] == '\r' && text[i] == '\n';
        return static_cast<std::int64_t>(text.size()) - crlf;
    }
    icu::BreakIterator& iterator = graphemeIterator(text);
    std::int64_t count = 0;
    iterator.first();
    while (iterator.next() != icu::BreakIterator::DONE)
        ++count;
    return count;
}

std::vector<std::size_t> boundaries(std::string_view text)
{
    std::vector<std::size_t> result{0};
    if (isASCII(text)) {
        for (std::size_t offset = 0; offset < text.size();)
            result.push_back(offset = nextBoundary(text, offset));
        return result;
    }
    icu::BreakIterator& iterator = graphemeIterator(text);
    iterator.first();
    for (std::int32_t boundary = iterator.next(); boundary != icu::BreakIterator::DONE; boundary = iterator.next())
        result.push_back(static_cast<std::size_t>(boundary));
    return result;
}

std::string_view nfc(std::string_view text, std::string& storage)
{
    if (isASCII(text))
        return text;
    const icu::Normalizer2& normalizer = nfcNormalizer();
    UErrorCode status = U_ZERO_ERROR;
    if (normalizer.isNormalizedUTF8(piece(text), status) && U_SUCCESS(status))
        return text;
    storage.clear();
    status = U_ZERO_ERROR;
    icu::StringByteSink<std::string> sink(&storage, static_cast<std::int32_t>(text.size()));
    normalizer.normalizeUTF8(0, piece(text), sink, nullptr, status);
    checkICU(status, "NFC normalization");
    return storage;
}

bool canonicallyEqualICU(std::string_view lhs, std::string_view rhs)
{
    std::string lhsStorage;
    std::string rhsStorage;
    return nfc(lhs, lhsStorage) == nfc(rhs, rhsStorage);
}

std::size_t canonicalHash(std::string_view text)
{
    std::string storage;
    return std::hash<std::string_view>{}(nfc(text, storage));
}

namespace {

using CaseMapping = void (*)(const char*, std::uint32_t, icu::StringPiece, icu::ByteSink&, icu::Edits*,
                             UErrorCode&);

std::string mapCase(std::string_view text, CaseMapping mapping, char from, char to, int shift)
{
    if (isASCII(text)) {
        std::string result(text);
        for (char& c : result) {
            if (c >= from && c <= to)
                c = static_cast<char>(c + shift);
        }
        return result;
    }
    std::string result;
    icu::StringByteSink<std::string> sink(&result, static_cast<std::int32_t>(text.size()));
    UErrorCode status = U_ZERO_ERROR;
    mapping("", 0, piece(text), sink, nullptr, status); // "" is the root locale
    checkICU(status, "Case mapping");
    return result;
}

} // namespace

std::string lowercased(std::string_view text)
{
    return mapCase(text, &icu::CaseMap::utf8ToLower, 'A', 'Z', 'a' - 'A');
}

std::string uppercased(std::string_view text)
{
    return mapCase(text, &icu::CaseMap::utf8ToUpper, 'a', 'z', 'A' - 'a');
}

} // namespace Foundation::Unicode
