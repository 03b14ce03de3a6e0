#pragma once

#include <compare>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Foundation {

class Character;
class CharacterSet;
class Data;
struct StringTransform;

// Text with the platform's semantics: UTF-8 inside; its characters are extended grapheme clusters;
// equality, ordering and hashing follow canonical equivalence. Pure-ASCII text takes fast paths.
class String {
public:
    // A position between characters, as a byte offset into the UTF-8 storage. Indices are only
    // meaningful for the string that produced them.
    struct Index {
        std::size_t offset = 0;
        friend auto operator<=>(const Index&, const Index&) = default;
    };
    struct Range {
        Index lowerBound;
        Index upperBound;
        friend bool operator==(const Range&, const Range&) = default;
    };

    String() = default;
    String(const char* utf8);           // NOLINT(google-explicit-constructor): literals read naturally
    String(std::string utf8);           // NOLINT: invalid UTF-8 is repaired to U+FFFD
    String(std::string_view utf8);      // NOLINT
    String(const Character& character); // NOLINT
    static String fromScalars(std::u32string_view scalars);
    // Strict decoding: nothing when the bytes are not valid UTF-8.
    static std::optional<String> fromUTF8(std::string_view bytes);
    // For readers that have already checked their whole input and cut it at scalar boundaries: the bytes
    // are taken as they are, without a second look.
    static String fromCheckedUTF8(std::string validUTF8);
    // The same for bytes that stay where they are, built in place (`std::in_place, CheckedUTF8 {}, bytes`):
    // readers that have checked whole records make their values this way.
    struct CheckedUTF8 { };
    String(CheckedUTF8, std::string_view validUTF8)
        : m_utf8(validUTF8)
    {
#ifndef NDEBUG
        preconditionUTF8(m_utf8);
#endif
    }

    // Text encodings: String.Encoding.hpp defines the type and these conversions.
    struct Encoding;
    // String(data:encoding:): nothing when the bytes are not valid in the encoding.
    static std::optional<String> fromData(const Data& data, const Encoding& encoding);
    // data(using:): nothing when a character has no form in the encoding; nothing is substituted.
    std::optional<Data> data(const Encoding& encoding) const;
    // applyingTransform(_:reverse:): ICU's transform of that name (StringTransform.hpp); nothing when the
    // transform does not exist or cannot run in that direction.
    std::optional<String> applyingTransform(const StringTransform& transform, bool reverse) const;

    const std::string& utf8() const { return m_utf8; }
    std::string_view view() const { return m_utf8; }
    const char* c_str() const { return m_utf8.c_str(); }
    bool isEmpty() const { return m_utf8.empty(); }
    bool isASCII() const;
    // The number of characters (grapheme clusters).
    std::int64_t count() const;

    // Characters, in order.
    class CharacterIterator;
    CharacterIterator begin() const;
    CharacterIterator end() const;
    std::vector<Character> characters() const;
    std::u32string unicodeScalars() const;

    std::optional<Character> first() const;
    std::optional<Character> last() const;

    // Indices walk character boundaries.
    Index startIndex() const { return {}; }
    Index endIndex() const { return {m_utf8.size()}; }
    Index index(Index after) const;                              // index(after:)
    Index indexBefore(Index i) const;                            // index(before:)
    std::optional<Index> index(Index i, std::int64_t offsetBy, std::optional<Index> limitedBy = {}) const;
    Character operator[](Index i) const;
    String operator[](Range range) const;
    String substring(Index from, Index to) const;

    bool hasPrefix(const String& prefix) const;
    bool hasSuffix(const String& suffix) const;
    bool contains(const String& other) const;
    bool contains(const Character& character) const;
    bool contains(const char* other) const { return contains(String(other)); } // a literal is text, not a Character
    // The first range whose characters equal `other`, compared character by character.
    std::optional<Range> range(const String& other) const;

    String lowercased() const;
    String uppercased() const;
    String trimmingCharacters(const CharacterSet& set) const;
    String replacingOccurrences(const String& target, const String& replacement) const;
    String prefix(std::int64_t maxLength) const;
    String suffix(std::int64_t maxLength) const;
    String dropFirst(std::int64_t k = 1) const;
    String dropLast(std::int64_t k = 1) const;

    // Sequence split at a separator character (Swift's split: empty pieces dropped by default).
    std::vector<String> split(const Character& separator,
                              std::int64_t maxSplits = std::numeric_limits<std::int64_t>::max(),
                              bool omittingEmptySubsequences = true) const;
    std::vector<String> split(const std::function<bool(const Character&)>& isSeparator,
                              std::int64_t maxSplits = std::numeric_limits<std::int64_t>::max(),
                              bool omittingEmptySubsequences = true) const;
    // Foundation's components(separatedBy:): empty pieces kept.
    std::vector<String> components(const String& separator) const;
    std::vector<String> components(const CharacterSet& separators) const;

    void append(const String& other);
    void append(const Character& character);
    void append(const char* other) { append(String(other)); }
    String& operator+=(const String& other);
    friend String operator+(String lhs, const String& rhs);

    friend bool operator==(const String& lhs, const String& rhs);
    friend std::strong_ordering operator<=>(const String& lhs, const String& rhs);
    std::size_t hash() const;

private:
    friend class Character;
    // For bytes already known to be valid UTF-8 (slices of a String at scalar boundaries).
    struct Unchecked {};
    static void preconditionUTF8(std::string_view bytes);
    String(Unchecked, std::string validUTF8) : m_utf8(std::move(validUTF8)) {}

    std::string m_utf8;
};

String joined(const std::vector<String>& pieces, const String& separator = "");

// Integer and floating-point text as the platform's standard parsers read it: an optional sign and
// digits only for integers (no spaces), overflow gives nothing.
std::optional<std::int64_t> parseInt(std::string_view text, int radix = 10);
std::optional<double> parseDouble(std::string_view text);

} // namespace Foundation

#include "Platform/Foundation/String.CharacterIterator.hpp"

template <>
struct std::hash<Foundation::String> {
    std::size_t operator()(const Foundation::String& s) const { return s.hash(); }
};
