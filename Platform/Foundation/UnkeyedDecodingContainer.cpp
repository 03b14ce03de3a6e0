#include "Platform/Foundation/UnkeyedDecodingContainer.hpp"

#include "Platform/Foundation/JSONDocument.hpp"

namespace Foundation {

std::int64_t UnkeyedDecodingContainer::count() const
{
    return m_decoder.document().value(m_decoder.valueIndex()).count;
}

Decoder UnkeyedDecodingContainer::current(std::string (*typeName)()) const
{
    if (isAtEnd()) {
        CodingPath path = codingPath();
        path.push_back(CodingKey::index(m_currentIndex));
        throw DecodingError::valueNotFound(typeName(), {std::move(path), "Unkeyed container is at end.", nullptr});
    }
    const auto& document = m_decoder.document();
    return m_decoder.child(document.elementIndex(document.value(m_decoder.valueIndex()), static_cast<std::size_t>(m_currentIndex)));
}

bool UnkeyedDecodingContainer::decodeNil()
{
    if (!current([] { return std::string("Optional<Any>"); }).decodeNil())
        return false;
    ++m_currentIndex;
    return true;
}

KeyedDecodingContainer UnkeyedDecodingContainer::nestedContainer()
{
    auto container = current(&codingTypeName<KeyedDecodingContainer>).container();
    ++m_currentIndex;
    return container;
}

UnkeyedDecodingContainer UnkeyedDecodingContainer::nestedUnkeyedContainer()
{
    auto container = current(&codingTypeName<UnkeyedDecodingContainer>).unkeyedContainer();
    ++m_currentIndex;
    return container;
}

} // namespace Foundation
