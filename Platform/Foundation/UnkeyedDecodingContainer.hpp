#pragma once

#include "Platform/Foundation/Decoder.hpp"

#include <cstdint>
#include <optional>

namespace Foundation {

class KeyedDecodingContainer;

// A JSON array being read front to back. The position moves on only when a decode succeeds.
class UnkeyedDecodingContainer {
public:
    const CodingPath& codingPath() const { return m_decoder.codingPath(); }
    std::int64_t count() const;
    bool isAtEnd() const { return currentIndex() >= count(); }
    std::int64_t currentIndex() const { return m_currentIndex; }

    // valueNotFound at the end.
    template <Decodable T>
    T decode()
    {
        Decoder child = current(&codingTypeName<T>);
        T value = CodingTraits<T>::decode(child);
        ++m_currentIndex;
        return value;
    }
    // Nothing, and the position moves on, when the element is null.
    template <Decodable T>
    std::optional<T> decodeIfPresent()
    {
        if (isAtEnd() || decodeNil())
            return std::nullopt;
        return decode<T>();
    }
    // Moves on when the element is null.
    bool decodeNil();

    KeyedDecodingContainer nestedContainer();
    UnkeyedDecodingContainer nestedUnkeyedContainer();

private:
    friend class Decoder;
    friend class KeyedDecodingContainer;
    explicit UnkeyedDecodingContainer(Decoder decoder)
        : m_decoder(std::move(decoder))
    {
    }
    // The type is named only when there is nothing left to read.
    Decoder current(std::string (*typeName)()) const;

    Decoder m_decoder;
    std::int64_t m_currentIndex = 0;
};

} // namespace Foundation

#include "Platform/Foundation/Codable.hpp"
