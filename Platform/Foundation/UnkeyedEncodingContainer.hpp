#pragma once

#include "Platform/Foundation/Encoder.hpp"

#include <cstdint>

namespace Foundation {

class KeyedEncodingContainer;

// A JSON array being written, element by element.
class UnkeyedEncodingContainer {
public:
    const CodingPath& codingPath() const { return m_encoder.codingPath(); }
    // The number of elements encoded so far.
    std::int64_t count() const;

    template <Encodable T>
    void encode(const T& value)
    {
        Encoder child = nextChild();
        CodingTraits<T>::encode(value, child);
    }
    // A literal is text.
    void encode(const char* value);
    void encodeNil();

    KeyedEncodingContainer nestedContainer();
    UnkeyedEncodingContainer nestedUnkeyedContainer();

private:
    friend class Encoder;
    friend class KeyedEncodingContainer;
    explicit UnkeyedEncodingContainer(Encoder encoder)
        : m_encoder(std::move(encoder))
    {
    }
    Encoder nextChild();

    Encoder m_encoder;
};

} // namespace Foundation

#include "Platform/Foundation/Codable.hpp"
