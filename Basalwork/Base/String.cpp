#include "Basalwork/Base/String.hpp"

#include "Basalwork/Base/CreditCardNumber.hpp"
#include "Basalwork/Base/GeneralError.hpp"

#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/UUID.hpp"

#include <cerrno>
#include <sys/random.h>

namespace Basalwork {

using Foundation::Character;
using Foundation::String;

namespace {

const Foundation::CharacterSet& whitespace()
{
    return Foundation::CharacterSet::whitespacesAndNewlines();
}

std::uint64_t secureRandom64()
{
    std::uint64_t value = 0;
    auto* bytes = reinterpret_cast<unsigned char*>(&value);
    std::size_t filled = 0;
    while (filled < sizeof value) {
        auto got = getrandom(bytes + filled, sizeof value - filled, 0);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            Foundation::fatalError("The system's random source failed");
        }
        filled += static_cast<std::size_t>(got);
    }
    return value;
}

// Uniform in [0, upperBound): draws below 2^64 mod upperBound are redrawn, so no value is favoured.
std::uint64_t secureRandomBelow(std::uint64_t upperBound)
{
    std::uint64_t threshold = (0 - upperBound) % upperBound;
    for (;;) {
        std::uint64_t draw = secureRandom64();
        if (draw >= threshold)
            return draw % upperBound;
    }
}

Character randomCharacter(const String& set)
{
    auto characters = set.characters();
    return characters[secureRandomBelow(characters.size())];
}

// The start of the character that holds `offset`; `offset` itself at the end. Indices made by hand or
// for another text must never reach into a character's bytes.
String::Index characterStart(const String& text, String::Index index)
{
    String::Index start = text.startIndex();
    while (start < text.endIndex()) {
        String::Index next = text.index(start);
        if (next > index)
            return start;
        start = next;
    }
    return start;
}

bool isCharacterStart(const String& text, String::Index index)
{
    return index < text.endIndex() && characterStart(text, index) == index;
}

String filtered(const String& text, bool (*keep)(const Character&))
{
    String result;
    for (const auto& character : text)
        if (keep(character))
            result.append(character);
    return result;
}

} // namespace

// --- Type-level texts ------------------------------------------------------------------------------

const String& Strings::lineFeed()
{
    static const String value = "\n";
    return value;
}

const String& Strings::lineTabulation()
{
    static const String value = "\v";
    return value;
}

const String& Strings::formFeed()
{
    static const String value = "\f";
    return value;
}

const String& Strings::carriageReturn()
{
    static const String value = "\r";
    return value;
}

const String& Strings::carriageReturnLineFeed()
{
    static const String value = "\r\n";
    return value;
}

const String& Strings::nextLine()
{
    static const String value = "\u0085";
    return value;
}

const String& Strings::lineSeparator()
{
    static const String value = "\u2028";
    return value;
}

const String& Strings::paragraphSeparator()
{
    static const String value = "\u2029";
    return value;
}

const std::vector<String>& Strings::newlines()
{
    static const std::vector<String> value = {lineFeed(),    lineTabulation(), formFeed(),      carriageReturn(),
                                              carriageReturnLineFeed(), nextLine(), lineSeparator(), paragraphSeparator()};
    return value;
}

const String& Strings::byteOrderMark()
{
    static const String value = "\uFEFF";
    return value;
}

const String& Strings::delete_()
{
    static const String value = "\b";
    return value;
}

const String& Strings::nonBreakingSpace()
{
    static const String value = "\u00A0";
    return value;
}

const String& Strings::oneHalfSuperscript()
{
    static const String value = "\u00B9/\u00B2";
    return value;
}

const String& Strings::greaterThanOrEqualTo()
{
    static const String value = "\u2265";
    return value;
}

const String& Strings::uppercaseLetters()
{
    static const String value = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    return value;
}

const String& Strings::lowercaseLetters()
{
    static const String value = "abcdefghijklmnopqrstuvwxyz";
    return value;
}

const String& Strings::uppercaseVowels()
{
    static const String value = "AEIOUY";
    return value;
}

const String& Strings::lowercaseVowels()
{
    static const String value = "aeiouy";
    return value;
}

const String& Strings::digits()
{
    static const String value = "0123456789";
    return value;
}

const String& Strings::symbols()
{
    static const String value = "@#$&*-+!?%^._:'\\/{}[]=()<>";
    return value;
}

String Strings::uuid()
{
    return Foundation::UUID().uuidString();
}

Character Strings::randomUppercase() { return randomCharacter(uppercaseLetters()); }
Character Strings::randomLowercase() { return randomCharacter(lowercaseLetters()); }
Character Strings::randomUppercaseVowel() { return randomCharacter(uppercaseVowels()); }
Character Strings::randomLowercaseVowel() { return randomCharacter(lowercaseVowels()); }
Character Strings::randomDigit() { return randomCharacter(digits()); }
Character Strings::randomSymbol() { return randomCharacter(symbols()); }

// --- Tests -----------------------------------------------------------------------------------------

bool isNewline(const String& text)
{
    for (const auto& newline : Strings::newlines())
        if (text == newline)
            return true;
    return false;
}

bool isNotNewline(const String& text) { return !isNewline(text); }

bool hasAtLeastOneNonWhitespaceCharacter(const String& text)
{
    return !trimmed(text).isEmpty();
}

bool hasAtLeastOneNonWhitespaceCharacter(const std::optional<String>& text)
{
    return text && hasAtLeastOneNonWhitespaceCharacter(*text);
}

bool doesNotHaveAnyNonWhitespaceCharacters(const String& text) { return !hasAtLeastOneNonWhitespaceCharacter(text); }

bool doesNotHaveAnyNonWhitespaceCharacters(const std::optional<String>& text)
{
    return !hasAtLeastOneNonWhitespaceCharacter(text);
}

bool doesNotHavePrefix(const String& text, const String& prefix) { return !text.hasPrefix(prefix); }
bool isNotPrefixed(const String& text, const String& with) { return !text.hasPrefix(with); }
bool doesNotHaveSuffix(const String& text, const String& suffix) { return !text.hasSuffix(suffix); }
bool doesNotContain(const String& text, const String& other) { return !text.contains(other); }

bool hasPrefix(const std::optional<String>& text, const String& prefix)
{
    return text && text->hasPrefix(prefix);
}

bool containsURLProtocol(const String& text) { return text.contains("://"); }
bool doesNotContainURLProtocol(const String& text) { return !containsURLProtocol(text); }

// --- Websites --------------------------------------------------------------------------------------

String prependedWithHTTPS(const String& text) { return "https://" + text; }

String prependedWithHTTPSIfNoOtherProtocolDetected(const String& text)
{
    return containsURLProtocol(text) ? text : prependedWithHTTPS(text);
}

String prependedWithHTTPSIfNoOtherProtocolDetected(const String& text, bool if_)
{
    return if_ ? prependedWithHTTPSIfNoOtherProtocolDetected(text) : text;
}

std::optional<String> urlHost(const String& text)
{
    auto url = Foundation::URL::string(prependedWithHTTPSIfNoOtherProtocolDetected(text));
    return url ? url->host() : std::nullopt;
}

String urlHostOrSelf(const String& text) { return urlHost(text).value_or(text); }

std::optional<Foundation::URL> websiteURL(const String& text)
{
    String candidate = trimmed(text);
    if (candidate.isEmpty())
        return std::nullopt;
    return Foundation::URL::string(prependedWithHTTPSIfNoOtherProtocolDetected(candidate));
}

// --- Trimming and removal --------------------------------------------------------------------------

String trimmed(const String& text) { return text.trimmingCharacters(whitespace()); }

String removingWhitespaceAndNewlines(const String& text)
{
    return filtered(text, [](const Character& c) { return !c.isWhitespace(); });
}

String collapsingWhitespaceCharactersIntoSingleSpaces(const String& text)
{
    return Foundation::joined(text.split([](const Character& c) { return c.isWhitespace(); }), " ");
}

String removingOpeningAndClosingQuotesIfPresent(const String& text)
{
    String result = text;
    if (text.hasPrefix("\""))
        result = result.dropFirst();
    // Judged on the text as given, so a lone quotation mark is removed only once.
    if (text.hasSuffix("\"") && !result.isEmpty())
        result = result.dropLast();
    return result;
}

String removingPrefix(const String& text, const String& prefix)
{
    if (prefix.isEmpty() || !text.hasPrefix(prefix))
        return text;
    // The match may be spelled differently (canonically equivalent), so cut where it ends in this text.
    auto match = text.range(prefix);
    return match ? text.substring(match->upperBound, text.endIndex()) : text;
}

String removingSuffix(const String& text, const String& suffix)
{
    if (suffix.isEmpty() || !text.hasSuffix(suffix))
        return text;
    // Characters match one for one, so the suffix is the last suffix.count() characters.
    return text.dropLast(suffix.count());
}

String removingPrefixAndSuffix(const String& text, const String& prefixAndSuffix)
{
    return removingSuffix(removingPrefix(text, prefixAndSuffix), prefixAndSuffix);
}

String removingSubstring(const String& text, const String& substring)
{
    auto match = text.range(substring);
    if (!match)
        return text;
    return text.substring(text.startIndex(), match->lowerBound) + text.substring(match->upperBound, text.endIndex());
}

String removingSubrange(const String& text, const String::Range& subrange)
{
    auto lower = characterStart(text, subrange.lowerBound);
    auto upper = characterStart(text, subrange.upperBound);
    return text.substring(text.startIndex(), lower) + text.substring(upper, text.endIndex());
}

String removingOccurancesOf(const String& text, const Character& character)
{
    String result;
    for (const auto& c : text)
        if (c != character)
            result.append(c);
    return result;
}

String replacingQuotesWithHTMLCharacterReference(const String& text)
{
    return text.replacingOccurrences("\"", "&quot;");
}

// --- Prefixes, suffixes and characters ---------------------------------------------------------------

String prefixUpTo(const String& text, const Character& upTo, bool isInclusive)
{
    for (auto i = text.startIndex(); i < text.endIndex(); i = text.index(i)) {
        if (text[i] == upTo)
            return text.substring(text.startIndex(), isInclusive ? text.index(i) : i);
    }
    return text;
}

String suffixFrom(const String& text, const Character& from, bool isInclusive)
{
    std::optional<String::Index> last;
    for (auto i = text.startIndex(); i < text.endIndex(); i = text.index(i)) {
        if (text[i] == from)
            last = i;
    }
    if (!last)
        return text;
    return text.substring(isInclusive ? *last : text.index(*last), text.endIndex());
}

String withFirstCharacterLowercased(const String& text)
{
    auto first = text.first();
    if (!first || !first->isUppercase())
        return text;
    return first->lowercased() + text.dropFirst();
}

String withFirstCharacterUppercased(const String& text)
{
    auto first = text.first();
    if (!first || !first->isLowercase())
        return text;
    return first->uppercased() + text.dropFirst();
}

String replacingCharacter(const String& text, String::Index at, const String& with)
{
    String result = text;
    replaceCharacter(result, at, with);
    return result;
}

void replaceCharacter(String& text, String::Index at, const String& with)
{
    if (!isCharacterStart(text, at))
        return;
    text = text.substring(text.startIndex(), at) + with + text.substring(text.index(at), text.endIndex());
}

std::optional<Character> characterAtIndex(const String& text, String::Index index)
{
    if (index >= text.endIndex())
        return std::nullopt;
    return text[characterStart(text, index)];
}

std::optional<Character> characterBeforeIndex(const String& text, String::Index index)
{
    if (index == text.startIndex() || index > text.endIndex())
        return std::nullopt;
    auto start = characterStart(text, index);
    if (start == text.startIndex())
        return std::nullopt;
    return text[text.indexBefore(start)];
}

std::optional<Character> characterAfterIndex(const String& text, String::Index index)
{
    if (index >= text.endIndex())
        return std::nullopt;
    auto next = text.index(characterStart(text, index));
    if (next == text.endIndex())
        return std::nullopt;
    return text[next];
}

// --- Encoding and conversion -----------------------------------------------------------------------

Foundation::Data data(const String& text, const String::Encoding& using_)
{
    auto bytes = text.data(using_);
    if (!bytes)
        throw GeneralError::failedWithMessage("Failed to encode string: " + text + " using encoding: " + String(using_.description()));
    return std::move(*bytes);
}

Foundation::Data utf8Encoded(const String& text)
{
    auto bytes = text.data(String::Encoding::utf8());
    if (!bytes)
        throw GeneralError::failedToEncodeUTF8String(text);
    return std::move(*bytes);
}

Foundation::Data utf8Data(const String& text) { return Foundation::Data::fromString(text.view()); }

std::optional<String> collapsed(const std::optional<std::optional<String>>& text)
{
    return text ? *text : std::nullopt;
}

String orEmptyString(const std::optional<String>& text) { return text.value_or(String()); }

std::shared_ptr<Foundation::NSAttributedString> with(const String& text,
                                                     const std::optional<Foundation::NSAttributedString::Attributes>& attributes)
{
    return Foundation::make<Foundation::NSAttributedString>(text, attributes.value_or(Foundation::NSAttributedString::Attributes {}));
}

// --- Words -----------------------------------------------------------------------------------------

std::unordered_set<String> tokens(const String& text, const Character& separatedBy)
{
    auto pieces = text.split(separatedBy);
    return {pieces.begin(), pieces.end()};
}

String tokenized(const String& text, const String& separatedBy)
{
    auto distinct = tokens(text, Character(U' '));
    return Foundation::joined({distinct.begin(), distinct.end()}, separatedBy);
}

String creatingLetterOnlyVersionsOfAllWords(const String& text, const Character& separatedBy)
{
    std::vector<String> words;
    for (const auto& piece : text.split(separatedBy)) {
        String letters = filtered(piece, [](const Character& c) { return c.isLetter(); });
        words.push_back(letters == piece ? piece : piece + " " + letters);
    }
    return Foundation::joined(words, String(separatedBy));
}

std::optional<String> initials(const String& text, std::int64_t min, std::int64_t max)
{
    Foundation::precondition(max >= 0, "initials(min:max:) takes a maximum that is not negative");
    auto words = text.split(Character(U' '));
    if (static_cast<std::int64_t>(words.size()) > max)
        words.resize(static_cast<std::size_t>(max));
    if (static_cast<std::int64_t>(words.size()) < min)
        return std::nullopt;
    String result;
    for (const auto& word : words)
        result.append(*word.first());
    return result;
}

// --- Card and account numbers --------------------------------------------------------------------

String creditCardNumberWithSpaces(const String& text) { return CreditCardNumber(trimmed(text)).withSpaces(); }
String creditCardNumberWithoutSpaces(const String& text) { return CreditCardNumber(trimmed(text)).withoutSpaces(); }
String bankAccountNumberWithoutSpaces(const String& text) { return CreditCardNumber(trimmed(text)).withoutSpaces(); }
String maskedCreditCardNumber(const String& text) { return CreditCardNumber(trimmed(text)).masked(); }
String maskedBankAccountNumber(const String& text) { return CreditCardNumber(trimmed(text)).masked(); }

} // namespace Basalwork
