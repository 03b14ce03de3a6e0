#pragma once

#include "Platform/Foundation/CodingKey.hpp"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace Foundation {

// JSON text parsed for decoding: every value in one flat table, children contiguous, texts viewing the
// parsed bytes where they need no unescaping. The bytes must outlive the document.
class JSONDocument {
public:
    enum class Kind : std::uint8_t { null, boolean, integer, unsignedInteger, real, string, array, object };

    struct Value {
        Kind kind = Kind::null;
        bool boolean = false;
        // A number written with a fraction or an exponent, even when it is kept as an integer.
        bool writtenAsReal = false;
        // Where the value sits: its parent's index, and its place among the parent's members or elements.
        std::uint32_t parent = 0;
        std::uint32_t position = 0;
        // An array's elements or an object's members: `count` entries from `first` in their table.
        std::uint32_t first = 0;
        std::uint32_t count = 0;
        union {
            std::int64_t integer = 0;
            std::uint64_t unsignedInteger;
            double real;
        };
        // A string's text, or a number's as it is written.
        std::string_view text;
    };

    struct Member {
        std::string_view key;
        std::uint32_t value;
    };

    // What the parser refuses, with where and why.
    struct SyntaxError : std::runtime_error {
        using std::runtime_error::runtime_error;
    };

    // Throws SyntaxError. Accepts what RFC 8259 does, with an optional byte order mark in front; a
    // number written with a fraction or an exponent that is a whole number fitting 64 bits is kept as an
    // integer, so integer decoding never reads a rounded double.
    explicit JSONDocument(std::string_view bytes);
    // Nothing for bytes that are not JSON, for readers that need no reason.
    static std::optional<JSONDocument> tryParse(std::string_view bytes);
    // Texts view the document's own storage: it stays where it was made.
    JSONDocument(const JSONDocument&) = delete;
    JSONDocument& operator=(const JSONDocument&) = delete;

    static constexpr std::uint32_t root = 0;

    const Value& value(std::uint32_t index) const { return m_values[index]; }
    const Value& element(const Value& array, std::size_t position) const { return m_values[m_elements[array.first + position]]; }
    std::uint32_t elementIndex(const Value& array, std::size_t position) const { return m_elements[array.first + position]; }
    const Member* members(const Value& object) const { return m_members.data() + object.first; }
    std::uint32_t indexOf(const Value& value) const { return static_cast<std::uint32_t>(&value - m_values.data()); }

    // The keys from `top` (the root unless given) down to the value, which lies inside `top`.
    CodingPath codingPath(std::uint32_t index, std::uint32_t top = root) const;

private:
    class Parser;

    std::vector<Value> m_values;
    std::vector<Member> m_members;
    std::vector<std::uint32_t> m_elements;
    // Unescaped texts; reserved up front so that views into it stay valid.
    std::string m_unescaped;
};

} // namespace Foundation
