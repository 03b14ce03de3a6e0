#pragma once

#include "Platform/Foundation/Character.hpp"
#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/NSAttributedString.hpp"
#include "Platform/Foundation/String.Encoding.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_set>
#include <vector>

// Text operations the whole system shares. Whitespace means the platform's whitespace-and-newlines set;
// "trimmed" means that set removed from both ends. Where the platform would take a Character or a String,
// one String parameter serves both: a Character converts, and matching is by whole characters either way.
// Operations whose labels would clash carry the label in their name (`removingPrefix` for removing(prefix:)).

namespace Basalwork {

// Type-level texts and pickers of String, each made once.
struct Strings {
    static const Foundation::String& lineFeed();
    static const Foundation::String& lineTabulation();
    static const Foundation::String& formFeed();
    static const Foundation::String& carriageReturn();
    static const Foundation::String& carriageReturnLineFeed();
    static const Foundation::String& nextLine();
    static const Foundation::String& lineSeparator();
    static const Foundation::String& paragraphSeparator();
    // The eight texts above, in that order; record readers split at them in this order.
    static const std::vector<Foundation::String>& newlines();
    static const Foundation::String& byteOrderMark();
    // What a press of the delete key produces.
    static const Foundation::String& delete_();
    static const Foundation::String& nonBreakingSpace();
    static const Foundation::String& oneHalfSuperscript();
    static const Foundation::String& greaterThanOrEqualTo();
    static const Foundation::String& uppercaseLetters();
    static const Foundation::String& lowercaseLetters();
    // Y counts as a vowel.
    static const Foundation::String& uppercaseVowels();
    static const Foundation::String& lowercaseVowels();
    static const Foundation::String& digits();
    static const Foundation::String& symbols();
    // A new random UUID, upper case, on every call.
    static Foundation::String uuid();

    // Uniform picks from the sets above, from the system's secure random source.
    static Foundation::Character randomUppercase();
    static Foundation::Character randomLowercase();
    static Foundation::Character randomUppercaseVowel();
    static Foundation::Character randomLowercaseVowel();
    static Foundation::Character randomDigit();
    static Foundation::Character randomSymbol();
};

// --- Tests ------------------------------------------------------------------------------------------

// The whole text is one of Strings::newlines().
bool isNewline(const Foundation::String& text);
bool isNotNewline(const Foundation::String& text);
bool hasAtLeastOneNonWhitespaceCharacter(const Foundation::String& text);
bool hasAtLeastOneNonWhitespaceCharacter(const std::optional<Foundation::String>& text); // nil: false
bool doesNotHaveAnyNonWhitespaceCharacters(const Foundation::String& text);
bool doesNotHaveAnyNonWhitespaceCharacters(const std::optional<Foundation::String>& text); // nil: true
bool doesNotHavePrefix(const Foundation::String& text, const Foundation::String& prefix);
bool isNotPrefixed(const Foundation::String& text, const Foundation::String& with);
bool doesNotHaveSuffix(const Foundation::String& text, const Foundation::String& suffix);
bool doesNotContain(const Foundation::String& text, const Foundation::String& other);
bool hasPrefix(const std::optional<Foundation::String>& text, const Foundation::String& prefix); // nil: false
// "://" anywhere.
bool containsURLProtocol(const Foundation::String& text);
bool doesNotContainURLProtocol(const Foundation::String& text);

// --- What a user typed as a website ----------------------------------------------------------------

Foundation::String prependedWithHTTPS(const Foundation::String& text);
// Untrimmed: a leading space stays behind the scheme.
Foundation::String prependedWithHTTPSIfNoOtherProtocolDetected(const Foundation::String& text);
Foundation::String prependedWithHTTPSIfNoOtherProtocolDetected(const Foundation::String& text, bool if_);
std::optional<Foundation::String> urlHost(const Foundation::String& text);
Foundation::String urlHostOrSelf(const Foundation::String& text);
// Trimmed first; nothing for blank text or text that does not parse.
std::optional<Foundation::URL> websiteURL(const Foundation::String& text);

// --- Trimming and removal -------------------------------------------------------------------------

Foundation::String trimmed(const Foundation::String& text);
Foundation::String removingWhitespaceAndNewlines(const Foundation::String& text);
Foundation::String collapsingWhitespaceCharactersIntoSingleSpaces(const Foundation::String& text);
// An opening and a closing quotation mark are each removed when present; "\"" becomes empty.
Foundation::String removingOpeningAndClosingQuotesIfPresent(const Foundation::String& text);
Foundation::String removingPrefix(const Foundation::String& text, const Foundation::String& prefix);
Foundation::String removingSuffix(const Foundation::String& text, const Foundation::String& suffix);
Foundation::String removingPrefixAndSuffix(const Foundation::String& text, const Foundation::String& prefixAndSuffix);
inline Foundation::String trimmingPrefix(const Foundation::String& text, const Foundation::String& prefix)
{
    return removingPrefix(text, prefix);
}
inline Foundation::String trimmingSuffix(const Foundation::String& text, const Foundation::String& suffix)
{
    return removingSuffix(text, suffix);
}
inline Foundation::String trimmingPrefixAndSuffix(const Foundation::String& text, const Foundation::String& prefixAndSuffix)
{
    return removingPrefixAndSuffix(text, prefixAndSuffix);
}
// The first occurrence only.
Foundation::String removingSubstring(const Foundation::String& text, const Foundation::String& substring);
// The range must lie on the text's character boundaries, as for any range into it.
Foundation::String removingSubrange(const Foundation::String& text, const Foundation::String::Range& subrange);
Foundation::String removingOccurancesOf(const Foundation::String& text, const Foundation::Character& character);
Foundation::String replacingQuotesWithHTMLCharacterReference(const Foundation::String& text);

// --- Prefixes, suffixes and characters --------------------------------------------------------------

// Up to the first occurrence of the character; the whole text when it does not occur.
Foundation::String prefixUpTo(const Foundation::String& text, const Foundation::Character& upTo, bool isInclusive);
// From the last occurrence of the character; the whole text when it does not occur.
Foundation::String suffixFrom(const Foundation::String& text, const Foundation::Character& from, bool isInclusive);
Foundation::String withFirstCharacterLowercased(const Foundation::String& text);
Foundation::String withFirstCharacterUppercased(const Foundation::String& text);
// Unchanged when `at` is not the start of one of the text's characters.
Foundation::String replacingCharacter(const Foundation::String& text, Foundation::String::Index at, const Foundation::String& with);
void replaceCharacter(Foundation::String& text, Foundation::String::Index at, const Foundation::String& with);
// An index inside a character counts as that character's own index, so no index reads part of one.
std::optional<Foundation::Character> characterAtIndex(const Foundation::String& text, Foundation::String::Index index);
std::optional<Foundation::Character> characterBeforeIndex(const Foundation::String& text, Foundation::String::Index index);
std::optional<Foundation::Character> characterAfterIndex(const Foundation::String& text, Foundation::String::Index index);

// --- Encoding and conversion ----------------------------------------------------------------------

// Throws GeneralError.failedWithMessage when a character has no form in the encoding.
Foundation::Data data(const Foundation::String& text, const Foundation::String::Encoding& using_);
// Throws GeneralError.failedToEncodeUTF8String.
Foundation::Data utf8Encoded(const Foundation::String& text);
Foundation::Data utf8Data(const Foundation::String& text);
std::optional<Foundation::String> collapsed(const std::optional<std::optional<Foundation::String>>& text);
Foundation::String orEmptyString(const std::optional<Foundation::String>& text);
std::shared_ptr<Foundation::NSAttributedString> with(const Foundation::String& text,
                                                     const std::optional<Foundation::NSAttributedString::Attributes>& attributes);

// --- Words ------------------------------------------------------------------------------------------

std::unordered_set<Foundation::String> tokens(const Foundation::String& text, const Foundation::Character& separatedBy);
// The distinct space-separated tokens joined by the separator, in no particular order.
Foundation::String tokenized(const Foundation::String& text, const Foundation::String& separatedBy);
// Each word that is not all letters is followed by a space and its letters alone: "a1b" gives "a1b ab".
Foundation::String creatingLetterOnlyVersionsOfAllWords(const Foundation::String& text, const Foundation::Character& separatedBy);
// The first characters of the first `max` space-separated words; nothing when there are fewer than `min`.
// A negative `max` stops the program.
std::optional<Foundation::String> initials(const Foundation::String& text, std::int64_t min, std::int64_t max);

// --- Card and account numbers (see CreditCardNumber) ---------------------------------------------

Foundation::String creditCardNumberWithSpaces(const Foundation::String& text);
Foundation::String creditCardNumberWithoutSpaces(const Foundation::String& text);
Foundation::String bankAccountNumberWithoutSpaces(const Foundation::String& text);
Foundation::String maskedCreditCardNumber(const Foundation::String& text);
Foundation::String maskedBankAccountNumber(const Foundation::String& text);

} // namespace Basalwork
