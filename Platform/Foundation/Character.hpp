#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace Foundation {

class String;

// One extended grapheme cluster, with the platform's character properties.
class Character {
public:
    explicit Character(char32_t scalar);
    // The text must hold exactly one grapheme cluster; anything else stops the program.
    explicit Character(std::string utf8Cluster);
    Character(const char* utf8Cluster) : Character(std::string(utf8Cluster)) {} // NOLINT

    const std::string& utf8() const { return m_utf8; }
    std::u32string unicodeScalars() const;

    bool isASCII() const;
    std::optional<std::uint8_t> asciiValue() const; // CR LF gives LF, as the platform does
    bool isWhitespace() const;
    bool isNewline() const;
    bool isLetter() const;
    bool isNumber() const;
    bool isWholeNumber() const;
    std::optional<int> wholeNumberValue() const;
    bool isHexDigit() const;
    std::optional<int> hexDigitValue() const;
    bool isPunctuation() const;
    bool isSymbol() const;
    bool isMathSymbol() const;
    bool isCurrencySymbol() const;
    bool isUppercase() const;
    bool isLowercase() const;
    bool isCased() const;

    String lowercased() const;
    String uppercased() const;

    friend bool operator==(const Character& lhs, const Character& rhs);
    std::size_t hash() const;

private:
    friend class String;
    struct Unchecked {};
    Character(Unchecked, std::string cluster) : m_utf8(std::move(cluster)) {}
    char32_t firstScalar() const;
    bool isSingleScalar() const;

    std::string m_utf8;
};

} // namespace Foundation

template <>
struct std::hash<Foundation::Character> {
    std::size_t operator()(const Foundation::Character& c) const { return c.hash(); }
};
