#include "Shared/Crypto/PasswordGenerator.hpp"

#include "Shared/Crypto/Sodium.hpp"

#include "Platform/Foundation/Codable.hpp"

#include <algorithm>
#include <cctype>
#include <sodium.h>
#include <string_view>

namespace Shared {

namespace {

constexpr std::string_view letters = "abcdefghijkmnopqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ";
constexpr std::string_view digits = "23456789";
constexpr std::string_view symbols = "!#$%&*+-=?@^_~";
constexpr std::string_view consonants = "bcdfghjkmnprstvwxz";
constexpr std::string_view vowels = "aeiou";

char pick(std::string_view alphabet)
{
    return alphabet[randombytes_uniform(static_cast<std::uint32_t>(alphabet.size()))];
}

std::size_t position(std::size_t count)
{
    return randombytes_uniform(static_cast<std::uint32_t>(count));
}

bool containsAny(const std::string& text, std::string_view alphabet)
{
    return text.find_first_of(alphabet) != std::string::npos;
}

std::string randomCharacters(const PasswordGenerator::Characters& settings)
{
    auto length = static_cast<std::size_t>(std::clamp(settings.length, settings.minimumLength, settings.maximumLength));
    std::string alphabet(letters);
    if (settings.includesNumbers)
        alphabet += digits;
    if (settings.includesSymbols)
        alphabet += symbols;
    // Drawing again until every included class appears keeps each position uniform over the alphabet.
    while (true) {
        std::string password;
        for (std::size_t i = 0; i < length; ++i)
            password.push_back(pick(alphabet));
        if ((!settings.includesNumbers || containsAny(password, digits)) && (!settings.includesSymbols || containsAny(password, symbols)))
            return password;
    }
}

std::string syllables(std::size_t length)
{
    std::string text;
    while (text.size() < length)
        text.push_back(pick(text.size() % 2 == 0 ? consonants : vowels));
    return text;
}

std::string pronounceableCharacters(const PasswordGenerator::Characters& settings)
{
    auto length = static_cast<std::size_t>(std::clamp(settings.length, settings.minimumLength, settings.maximumLength));
    auto text = syllables(length);
    auto upper = position(length);
    text[upper] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[upper])));
    // A digit and a symbol take the place of letters other than the capital.
    std::vector<std::size_t> free;
    for (std::size_t i = 0; i < length; ++i) {
        if (i != upper)
            free.push_back(i);
    }
    for (auto [included, alphabet] : {std::pair {settings.includesNumbers, digits}, std::pair {settings.includesSymbols, symbols}}) {
        if (!included || free.empty())
            continue;
        auto chosen = position(free.size());
        text[free[chosen]] = pick(alphabet);
        free.erase(free.begin() + static_cast<std::ptrdiff_t>(chosen));
    }
    return text;
}

std::string pronounceableWords(const PasswordGenerator::Words& settings)
{
    auto count = std::clamp(settings.count, settings.minimumCount, settings.maximumCount);
    std::string text;
    for (std::int64_t i = 0; i < count; ++i) {
        if (i > 0)
            text += settings.separator.utf8();
        text += syllables(4 + position(3));
    }
    return text;
}

} // namespace

Foundation::String PasswordGenerator::generate() const
{
    ensureSodium();
    switch (kind) {
    case Kind::random:
        return Foundation::String(randomCharacters(random));
    case Kind::pronounceable:
        return Foundation::String(pronounceableCharacters(pronounceable));
    case Kind::words:
        return Foundation::String(pronounceableWords(words));
    case Kind::pin:
        return pin.generate();
    }
    return {};
}

void PasswordGenerator::encode(Foundation::Encoder& encoder) const
{
    auto container = encoder.container();
    container.encode(static_cast<std::int64_t>(kind), "kind");
    for (auto [settings, key] : {std::pair {&random, "random"}, std::pair {&pronounceable, "pronounceable"}}) {
        auto nested = container.nestedContainer(key);
        nested.encode(settings->length, "length");
        nested.encode(settings->includesNumbers, "includesNumbers");
        nested.encode(settings->includesSymbols, "includesSymbols");
    }
    auto nested = container.nestedContainer("words");
    nested.encode(words.count, "count");
    nested.encode(words.separator, "separator");
    container.encode(pin, "pin");
}

PasswordGenerator PasswordGenerator::decode(Foundation::Decoder& decoder)
{
    auto container = decoder.container();
    PasswordGenerator generator;
    auto kind = container.decode<std::int64_t>("kind");
    generator.kind = kind >= 0 && kind <= 3 ? static_cast<Kind>(kind) : Kind::random;
    for (auto [settings, key] : {std::pair {&generator.random, "random"}, std::pair {&generator.pronounceable, "pronounceable"}}) {
        auto nested = container.nestedContainer(key);
        settings->length = nested.decode<std::int64_t>("length");
        settings->includesNumbers = nested.decode<bool>("includesNumbers");
        settings->includesSymbols = nested.decode<bool>("includesSymbols");
    }
    auto nested = container.nestedContainer("words");
    generator.words.count = nested.decode<std::int64_t>("count");
    generator.words.separator = nested.decode<Foundation::String>("separator");
    generator.pin = container.decode<PINGenerator>("pin");
    return generator;
}

std::pair<std::int64_t, std::int64_t> PasswordGenerator::lengthBounds(Kind kind)
{
    switch (kind) {
    case Kind::words:
        return {Words::minimumCount, Words::maximumCount};
    case Kind::pin:
        return {PINGenerator::minimumLength, PINGenerator::maximumLength};
    default:
        return {Characters::minimumLength, Characters::maximumLength};
    }
}

Foundation::String PasswordGenerator::lengthTitle(Kind kind)
{
    return Foundation::String(kind == Kind::words ? "Words" : kind == Kind::pin ? "Digits" : "Characters");
}

std::int64_t PasswordGenerator::length(Kind kind) const
{
    auto value = kind == Kind::words ? words.count : kind == Kind::pin ? pin.length : characters(kind).length;
    auto [minimum, maximum] = lengthBounds(kind);
    return std::clamp(value, minimum, maximum);
}

void PasswordGenerator::setLength(std::int64_t length, Kind kind)
{
    auto [minimum, maximum] = lengthBounds(kind);
    length = std::clamp(length, minimum, maximum);
    switch (kind) {
    case Kind::words:
        words.count = length;
        break;
    case Kind::pin:
        pin.length = length;
        break;
    case Kind::pronounceable:
        pronounceable.length = length;
        break;
    case Kind::random:
        random.length = length;
        break;
    }
}

namespace {

// The characters' settings the generator under a field changes; none for a PIN field or the words.
PasswordGenerator::Characters* changedCharacters(PasswordGenerator& generator, bool isPINField)
{
    using Kind = PasswordGenerator::Kind;
    if (isPINField || (generator.kind != Kind::random && generator.kind != Kind::pronounceable))
        return nullptr;
    return generator.kind == Kind::random ? &generator.random : &generator.pronounceable;
}

} // namespace

bool PasswordGenerator::changeLength(std::int64_t length, bool isPINField)
{
    auto* characters = changedCharacters(*this, isPINField);
    if (characters)
        characters->length = length;
    return characters;
}

bool PasswordGenerator::changeCount(std::int64_t count, bool isPINField)
{
    if (isPINField || kind == Kind::pin) {
        pin.length = count;
        return true;
    }
    if (kind != Kind::words)
        return false;
    words.count = count;
    return true;
}

bool PasswordGenerator::changeIncludesNumbers(bool includesNumbers, bool isPINField)
{
    auto* characters = changedCharacters(*this, isPINField);
    if (characters)
        characters->includesNumbers = includesNumbers;
    return characters;
}

bool PasswordGenerator::changeIncludesSymbols(bool includesSymbols, bool isPINField)
{
    auto* characters = changedCharacters(*this, isPINField);
    if (characters)
        characters->includesSymbols = includesSymbols;
    return characters;
}

bool PasswordGenerator::changeSeparator(const Foundation::String& separator, bool isPINField)
{
    if (isPINField || kind != Kind::words)
        return false;
    words.separator = separator;
    return true;
}

} // namespace Shared
