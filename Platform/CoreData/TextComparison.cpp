#include "Platform/CoreData/TextComparison.hpp"

#include "Platform/Foundation/String.hpp"

#include <algorithm>
#include <cctype>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace CoreData {

namespace {

bool isASCII(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

int compareIgnoringASCIICase(std::string_view lhs, std::string_view rhs)
{
    std::size_t length = std::min(lhs.size(), rhs.size());
    for (std::size_t i = 0; i < length; ++i) {
        char left = lower(lhs[i]);
        char right = lower(rhs[i]);
        if (left != right)
            return static_cast<unsigned char>(left) < static_cast<unsigned char>(right) ? -1 : 1;
    }
    return lhs.size() < rhs.size() ? -1 : lhs.size() > rhs.size() ? 1 : 0;
}

bool equalAt(std::string_view text, std::size_t at, std::string_view wanted, bool ignoringCase)
{
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        if (ignoringCase ? lower(text[at + i]) != lower(wanted[i]) : text[at + i] != wanted[i])
            return false;
    }
    return true;
}

// In ASCII text only a carriage return and line feed make one character of two bytes.
bool isBoundary(std::string_view text, std::size_t offset)
{
    return offset == 0 || offset == text.size() || !(text[offset - 1] == '\r' && text[offset] == '\n');
}

// The text operators on ASCII text, character by character, without copying; diacritics play no part.
bool holdsForASCII(NSComparisonPredicate::Operator type, std::string_view lhs, std::string_view rhs, bool ignoringCase)
{
    using Operator = NSComparisonPredicate::Operator;
    if (rhs.size() > lhs.size())
        return false;
    switch (type) {
    case Operator::beginsWith:
        return equalAt(lhs, 0, rhs, ignoringCase) && isBoundary(lhs, rhs.size());
    case Operator::endsWith:
        return equalAt(lhs, lhs.size() - rhs.size(), rhs, ignoringCase) && isBoundary(lhs, lhs.size() - rhs.size());
    default:
        for (std::size_t at = 0; at + rhs.size() <= lhs.size(); ++at) {
            if (equalAt(lhs, at, rhs, ignoringCase) && isBoundary(lhs, at) && isBoundary(lhs, at + rhs.size()))
                return true;
        }
        return false;
    }
}

} // namespace

int TextComparison::compare(std::string_view lhs, std::string_view rhs)
{
    // ASCII is its own NFC form, so its bytes are its scalars.
    if (isASCII(lhs) && isASCII(rhs))
        return sign(lhs.compare(rhs));
    auto order = Foundation::String(lhs) <=> Foundation::String(rhs);
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

int TextComparison::compareCaseInsensitive(std::string_view lhs, std::string_view rhs)
{
    if (isASCII(lhs) && isASCII(rhs))
        return compareIgnoringASCIICase(lhs, rhs);
    auto options = NSComparisonPredicate::Options::caseInsensitive();
    return compare(folded(lhs, options), folded(rhs, options));
}

std::string TextComparison::folded(std::string_view text, NSComparisonPredicate::Options options)
{
    bool caseInsensitive = options.contains(NSComparisonPredicate::Options::caseInsensitive());
    bool diacriticInsensitive = options.contains(NSComparisonPredicate::Options::diacriticInsensitive());
    if (!caseInsensitive && !diacriticInsensitive)
        return std::string(text);
    if (isASCII(text)) {
        std::string result(text);
        if (caseInsensitive)
            std::transform(result.begin(), result.end(), result.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return result;
    }
    icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    if (caseInsensitive)
        unicode.foldCase(U_FOLD_CASE_DEFAULT);
    if (diacriticInsensitive) {
        UErrorCode status = U_ZERO_ERROR;
        const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
        if (U_SUCCESS(status)) {
            icu::UnicodeString decomposed = nfd->normalize(unicode, status);
            if (U_SUCCESS(status)) {
                icu::UnicodeString stripped;
                for (int32_t i = 0; i < decomposed.length();) {
                    UChar32 scalar = decomposed.char32At(i);
                    if (u_charType(scalar) != U_NON_SPACING_MARK)
                        stripped.append(scalar);
                    i += U16_LENGTH(scalar);
                }
                unicode = stripped;
            }
        }
    }
    std::string result;
    unicode.toUTF8String(result);
    return result;
}

bool TextComparison::holds(NSComparisonPredicate::Operator type, std::string_view lhs, std::string_view rhs,
                           NSComparisonPredicate::Options options)
{
    using Operator = NSComparisonPredicate::Operator;
    bool textOperator = type == Operator::beginsWith || type == Operator::endsWith || type == Operator::contains;
    if (textOperator && isASCII(lhs) && isASCII(rhs))
        return holdsForASCII(type, lhs, rhs, options.contains(NSComparisonPredicate::Options::caseInsensitive()));
    std::string foldedLeft;
    std::string foldedRight;
    if (!options.isEmpty()) {
        foldedLeft = folded(lhs, options);
        foldedRight = folded(rhs, options);
        lhs = foldedLeft;
        rhs = foldedRight;
    }
    switch (type) {
    case Operator::lessThan: return compare(lhs, rhs) < 0;
    case Operator::lessThanOrEqualTo: return compare(lhs, rhs) <= 0;
    case Operator::greaterThan: return compare(lhs, rhs) > 0;
    case Operator::greaterThanOrEqualTo: return compare(lhs, rhs) >= 0;
    case Operator::equalTo: return compare(lhs, rhs) == 0;
    case Operator::notEqualTo: return compare(lhs, rhs) != 0;
    case Operator::beginsWith: return Foundation::String(lhs).hasPrefix(Foundation::String(rhs));
    case Operator::endsWith: return Foundation::String(lhs).hasSuffix(Foundation::String(rhs));
    case Operator::contains: return Foundation::String(lhs).contains(Foundation::String(rhs));
    case Operator::in: return false;
    }
    return false;
}

} // namespace CoreData
