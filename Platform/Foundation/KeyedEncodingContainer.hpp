#pragma once

#include "Platform/Foundation/Encoder.hpp"

#include <optional>
#include <string_view>

namespace Foundation {

class UnkeyedEncodingContainer;

// A JSON object being written. Members appear in the order they are first encoded, so a type encodes
// its keys in declared order; encoding a key again replaces its value in place.
class KeyedEncodingContainer {
public:
    const CodingPath& codingPath() const { return m_encoder.codingPath(); }

    template <Encodable T>
    void encode(const T& value, std::string_view key)
    {
        Encoder child = childFor(key);
        CodingTraits<T>::encode(value, child);
    }
    // A literal is text.
    void encode(const char* value, std::string_view key);
    // A nil optional passed to `encode` writes null; here it leaves the key out.
    template <Encodable T>
    void encodeIfPresent(const std::optional<T>& value, std::string_view key)
    {
        if (value)
            encode(*value, key);
    }
    void encodeNil(std::string_view key);

    KeyedEncodingContainer nestedContainer(std::string_view key);
    UnkeyedEncodingContainer nestedUnkeyedContainer(std::string_view key);

private:
    friend class Encoder;
    friend class UnkeyedEncodingContainer;
    explicit KeyedEncodingContainer(Encoder encoder)
        : m_encoder(std::move(encoder))
    {
    }
    Encoder childFor(std::string_view key);

    Encoder m_encoder;
};

} // namespace Foundation

#include "Platform/Foundation/Codable.hpp"
