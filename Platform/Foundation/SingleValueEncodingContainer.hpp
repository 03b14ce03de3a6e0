#pragma once

#include "Platform/Foundation/Encoder.hpp"

namespace Foundation {

// The encoder's value as one value. Encoding twice through it stops the program, as on the platform.
class SingleValueEncodingContainer {
public:
    const CodingPath& codingPath() const { return m_encoder.codingPath(); }

    template <Encodable T>
    void encode(const T& value)
    {
        checkCanEncode();
        CodingTraits<T>::encode(value, m_encoder);
    }
    // A literal is text.
    void encode(const char* value);
    void encodeNil();

private:
    friend class Encoder;
    explicit SingleValueEncodingContainer(Encoder encoder)
        : m_encoder(std::move(encoder))
    {
    }
    void checkCanEncode() const;

    Encoder m_encoder;
};

} // namespace Foundation

#include "Platform/Foundation/Codable.hpp"
