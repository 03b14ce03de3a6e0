#include "Platform/Foundation/CharacterSet.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/UnicodeSupport.hpp"

#include <bitset>
#include <string>

#include <unicode/uniset.h>
#include <unicode/unistr.h>

namespace Foundation {

// ASCII membership is mirrored in a bitmap: trimming and splitting ASCII text never reach ICU.
struct CharacterSet::Storage {
    icu::UnicodeSet set;
    std::bitset<128> ascii;

    explicit Storage(const icu::UnicodeSet& from)
        : set(from)
    {
        refreshASCII();
    }

    void refreshASCII()
    {
        for (UChar32 c = 0; c < 128; ++c)
            ascii[static_cast<std::size_t>(c)] = set.contains(c);
    }
};

namespace {

// RFC 3986: unreserved and sub-delims, plus what the URL component also allows.
CharacterSet urlAllowed(std::string_view alsoAllowed)
{
    std::string characters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._~!$&'()*+,;=";
    characters += alsoAllowed;
    return CharacterSet::charactersIn(characters);
}

void addScalars(icu::UnicodeSet& set, const String& characters)
{
    for (char32_t scalar : characters.unicodeScalars())
        set.add(static_cast<UChar32>(scalar));
}

} // namespace

CharacterSet::CharacterSet()
{
    static const std::shared_ptr<const Storage> empty = std::make_shared<Storage>(icu::UnicodeSet());
    m_storage = empty;
}

CharacterSet CharacterSet::charactersIn(const String& characters)
{
    CharacterSet result;
    result.insert(characters);
    return result;
}

CharacterSet CharacterSet::fromPattern(const char* pattern)
{
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeSet set(icu::UnicodeString(pattern, -1, US_INV), status);
    if (U_FAILURE(status))
        fatalError(std::string("Bad character set pattern ") + pattern);
    CharacterSet result;
    result.m_storage = std::make_shared<Storage>(set);
    return result;
}

// The predefined sets are built once and shared; a copy that changes makes its own storage. They are
// never destroyed: work on other threads may still use them while the process exits.

const CharacterSet& CharacterSet::whitespaces()
{
    static const CharacterSet& set = *new CharacterSet(fromPattern("[\\p{Zs}\\u0009]"));
    return set;
}

const CharacterSet& CharacterSet::newlines()
{
    static const CharacterSet& set = *new CharacterSet(fromPattern("[\\u000A-\\u000D\\u0085\\u2028\\u2029]"));
    return set;
}

const CharacterSet& CharacterSet::whitespacesAndNewlines()
{
    static const CharacterSet& set = *new CharacterSet(whitespaces().unioning(newlines()).unioning(fromPattern("[\\p{White_Space}]")));
    return set;
}

const CharacterSet& CharacterSet::decimalDigits()
{
    static const CharacterSet& set = *new CharacterSet(fromPattern("[\\p{Nd}]"));
    return set;
}

const CharacterSet& CharacterSet::letters()
{
    static const CharacterSet& set = *new CharacterSet(fromPattern("[\\p{L}\\p{M}]"));
    return set;
}

const CharacterSet& CharacterSet::lowercaseLetters()
{
    static const CharacterSet& set = *new CharacterSet(fromPattern("[\\p{Ll}]"));
    return set;
}

const CharacterSet& CharacterSet::uppercaseLetters()
{
    static const CharacterSet& set = *new CharacterSet(fromPattern("[\\p{Lu}\\p{Lt}]"));
    return set;
}

const CharacterSet& CharacterSet::alphanumerics()
{
    static const CharacterSet& set = *new CharacterSet(fromPattern("[\\p{L}\\p{M}\\p{N}]"));
    return set;
}

const CharacterSet& CharacterSet::punctuationCharacters()
{
    static const CharacterSet& set = *new CharacterSet(fromPattern("[\\p{P}]"));
    return set;
}

const CharacterSet& CharacterSet::symbols()
{
    static const CharacterSet& set = *new CharacterSet(fromPattern("[\\p{S}]"));
    return set;
}

const CharacterSet& CharacterSet::controlCharacters()
{
    static const CharacterSet& set = *new CharacterSet(fromPattern("[\\p{Cc}\\p{Cf}]"));
    return set;
}

const CharacterSet& CharacterSet::urlPathAllowed()
{
    static const CharacterSet& set = *new CharacterSet(urlAllowed(":@/"));
    return set;
}

const CharacterSet& CharacterSet::urlQueryAllowed()
{
    static const CharacterSet& set = *new CharacterSet(urlAllowed(":@/?"));
    return set;
}

const CharacterSet& CharacterSet::urlFragmentAllowed()
{
    static const CharacterSet& set = *new CharacterSet(urlAllowed(":@/?"));
    return set;
}

const CharacterSet& CharacterSet::urlHostAllowed()
{
    static const CharacterSet& set = *new CharacterSet(urlAllowed(":[]"));
    return set;
}

bool CharacterSet::contains(char32_t scalar) const
{
    if (scalar < 128)
        return m_storage->ascii[scalar];
    return m_storage->set.contains(static_cast<UChar32>(scalar));
}

CharacterSet CharacterSet::unioning(const CharacterSet& other) const
{
    CharacterSet result = *this;
    Storage& storage = result.mutableStorage();
    storage.set.addAll(other.m_storage->set);
    storage.refreshASCII();
    return result;
}

CharacterSet CharacterSet::subtracting(const CharacterSet& other) const
{
    CharacterSet result = *this;
    Storage& storage = result.mutableStorage();
    storage.set.removeAll(other.m_storage->set);
    storage.refreshASCII();
    return result;
}

CharacterSet CharacterSet::inverted() const
{
    CharacterSet result = *this;
    Storage& storage = result.mutableStorage();
    storage.set.complement();
    storage.refreshASCII();
    return result;
}

void CharacterSet::insert(char32_t scalar)
{
    Storage& storage = mutableStorage();
    storage.set.add(static_cast<UChar32>(scalar));
    if (scalar < 128)
        storage.ascii[scalar] = true;
}

void CharacterSet::insert(const String& characters)
{
    Storage& storage = mutableStorage();
    addScalars(storage.set, characters);
    storage.refreshASCII();
}

void CharacterSet::remove(char32_t scalar)
{
    Storage& storage = mutableStorage();
    storage.set.remove(static_cast<UChar32>(scalar));
    if (scalar < 128)
        storage.ascii[scalar] = false;
}

CharacterSet::Storage& CharacterSet::mutableStorage()
{
    if (m_storage.use_count() != 1)
        m_storage = std::make_shared<Storage>(m_storage->set);
    // Every storage is created non-const, and this one is ours alone.
    return const_cast<Storage&>(*m_storage);
}

} // namespace Foundation
