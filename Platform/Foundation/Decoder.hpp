#pragma once

#include "Platform/Foundation/CodingKey.hpp"
#include "Platform/Foundation/CodingTraits.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace Foundation {

class Data;
class Date;
class String;
class JSONDateStrategy;
class JSONDocument;
class KeyedDecodingContainer;
class UnkeyedDecodingContainer;
class SingleValueDecodingContainer;

// Include Codable.hpp to use it: that brings the containers and the built-in codable types.
// What a value's `decode` is handed: it asks for the container its encoded form is in and reads itself
// from it. Failures throw DecodingError with the coding path. A decoder and its containers are valid
// only during the `decode` call that produced them.
class Decoder {
public:
    const CodingPath& codingPath() const;

    // container(keyedBy:): the value as a JSON object. valueNotFound for null, typeMismatch otherwise.
    KeyedDecodingContainer container() const;
    UnkeyedDecodingContainer unkeyedContainer() const;
    SingleValueDecodingContainer singleValueContainer() const;

private:
    friend class JSONDecoder;
    friend class KeyedDecodingContainer;
    friend class UnkeyedDecodingContainer;
    friend class SingleValueDecodingContainer;
    template <class T>
    friend struct CodingTraits;

    // Coding paths start at `top`, the value decoding started with.
    Decoder(const JSONDocument& document, std::uint32_t value, const JSONDateStrategy& dateStrategy, std::uint32_t top = 0);
    // The value's path comes from the document, worked out only when asked for.
    Decoder child(std::uint32_t value) const;
    const JSONDocument& document() const { return *m_document; }
    std::uint32_t valueIndex() const { return m_valueIndex; }

    // The primitives that the built-in types read. Integers are range-checked: a number that does not
    // fit the type is data corrupted, as on the platform.
    bool decodeNil() const;
    bool decodeBool() const;
    std::int64_t decodeInteger(std::int64_t min, std::int64_t max, const char* typeName) const;
    std::uint64_t decodeUnsignedInteger(std::uint64_t max, const char* typeName) const;
    double decodeDouble() const;
    float decodeFloat() const;
    String decodeString() const;
    Data decodeData() const;
    Date decodeDate() const;

    [[noreturn]] void failMismatch(const std::string& type) const;

    const JSONDocument* m_document;
    std::uint32_t m_valueIndex;
    std::uint32_t m_topIndex;
    const JSONDateStrategy* m_dateStrategy;
    mutable std::optional<CodingPath> m_path;
};

} // namespace Foundation

