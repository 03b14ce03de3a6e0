#pragma once

#include "Platform/Foundation/Decoder.hpp"

namespace Foundation {

// The decoder's value as one value.
class SingleValueDecodingContainer {
public:
    const CodingPath& codingPath() const { return m_decoder.codingPath(); }
    bool decodeNil() const;
    template <Decodable T>
    T decode() const
    {
        return CodingTraits<T>::decode(m_decoder);
    }

private:
    friend class Decoder;
    explicit SingleValueDecodingContainer(Decoder decoder)
        : m_decoder(std::move(decoder))
    {
    }
    // Decoding hands the decoder on; the built-in types read through it.
    mutable Decoder m_decoder;
};

} // namespace Foundation

#include "Platform/Foundation/Codable.hpp"
