#include "Platform/Foundation/UnkeyedDecodingContainer.hpp"

#include <nlohmann/json.hpp>

namespace Foundation {

std::int64_t UnkeyedDecodingContainer::count() const
{
    return static_cast<std::int64_t>(m_decoder.json().size());
}

Decoder UnkeyedDecodingContainer::current(const std::string& typeName) const
{
    auto key = CodingKey::index(m_currentIndex);
    if (isAtEnd()) {
        CodingPath path = codingPath();
        path.push_back(std::move(key));
        throw DecodingError::valueNotFound(typeName, {std::move(path), "Unkeyed container is at end.", nullptr});
    }
    return m_decoder.child(m_decoder.json()[static_cast<std::size_t>(m_currentIndex)], std::move(key));
}

bool UnkeyedDecodingContainer::decodeNil()
{
    if (!current("Optional<Any>").decodeNil())
        return false;
    ++m_currentIndex;
    return true;
}

KeyedDecodingContainer UnkeyedDecodingContainer::nestedContainer()
{
    auto container = current(codingTypeName<KeyedDecodingContainer>()).container();
    ++m_currentIndex;
    return container;
}

UnkeyedDecodingContainer UnkeyedDecodingContainer::nestedUnkeyedContainer()
{
    auto container = current(codingTypeName<UnkeyedDecodingContainer>()).unkeyedContainer();
    ++m_currentIndex;
    return container;
}

} // namespace Foundation
