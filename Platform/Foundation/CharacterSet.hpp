#pragma once

#include <memory>
#include <string_view>

namespace Foundation {

class String;

// A set of Unicode scalars, as the platform's character sets are; membership is tested per scalar.
class CharacterSet {
public:
    CharacterSet(); // empty
    static CharacterSet charactersIn(const String& characters); // init(charactersIn:)

    static const CharacterSet& whitespaces();
    static const CharacterSet& newlines();
    static const CharacterSet& whitespacesAndNewlines();
    static const CharacterSet& decimalDigits();
    static const CharacterSet& letters();
    static const CharacterSet& lowercaseLetters();
    static const CharacterSet& uppercaseLetters();
    static const CharacterSet& alphanumerics();
    static const CharacterSet& punctuationCharacters();
    static const CharacterSet& symbols();
    static const CharacterSet& controlCharacters();
    static const CharacterSet& urlPathAllowed();
    static const CharacterSet& urlQueryAllowed();
    static const CharacterSet& urlFragmentAllowed();
    static const CharacterSet& urlHostAllowed();

    bool contains(char32_t scalar) const;
    CharacterSet unioning(const CharacterSet& other) const;
    CharacterSet subtracting(const CharacterSet& other) const;
    CharacterSet inverted() const;
    void insert(char32_t scalar);
    void insert(const String& characters); // insert(charactersIn:)
    void remove(char32_t scalar);

private:
    struct Storage;
    static CharacterSet fromPattern(const char* pattern); // an ICU set pattern
    Storage& mutableStorage();

    std::shared_ptr<const Storage> m_storage; // copy-on-write
};

} // namespace Foundation
