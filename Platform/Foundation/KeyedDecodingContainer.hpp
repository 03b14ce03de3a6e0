#pragma once

#include "Platform/Foundation/Decoder.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Foundation {

class UnkeyedDecodingContainer;

// A JSON object being read.
class KeyedDecodingContainer {
public:
    const CodingPath& codingPath() const { return m_decoder.codingPath(); }
    // The object's keys, in the order they appear in the data.
    std::vector<std::string> allKeys() const;
    bool contains(std::string_view key) const;

    // keyNotFound when the key is absent.
    template <Decodable T>
    T decode(std::string_view key) const
    {
        Decoder child = childFor(key);
        return CodingTraits<T>::decode(child);
    }
    // Nothing when the key is absent or its value is null.
    template <Decodable T>
    std::optional<T> decodeIfPresent(std::string_view key) const
    {
        auto child = presentChildFor(key);
        if (!child)
            return std::nullopt;
        return CodingTraits<T>::decode(*child);
    }
    // Whether the key's value is null; keyNotFound when the key is absent.
    bool decodeNil(std::string_view key) const;

    KeyedDecodingContainer nestedContainer(std::string_view key) const;
    UnkeyedDecodingContainer nestedUnkeyedContainer(std::string_view key) const;

private:
    friend class Decoder;
    using Index = std::unordered_map<std::string_view, std::uint32_t>;
    explicit KeyedDecodingContainer(Decoder decoder);
    // The member's value in the document, or nothing.
    std::optional<std::uint32_t> find(std::string_view key) const;
    Decoder childFor(std::string_view key) const;
    std::optional<Decoder> presentChildFor(std::string_view key) const;

    Decoder m_decoder;
    // Large objects (dictionaries) are looked up through an index rather than a scan.
    std::shared_ptr<const Index> m_index;
};

} // namespace Foundation

#include "Platform/Foundation/Codable.hpp"
