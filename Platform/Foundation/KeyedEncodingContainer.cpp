#include "Platform/Foundation/KeyedEncodingContainer.hpp"

#include "Platform/Foundation/Encoder.Node.hpp"

namespace Foundation {

Encoder KeyedEncodingContainer::childFor(std::string_view key)
{
    return m_encoder.child(m_encoder.m_node->replaceMember(key), CodingKey::named(std::string(key)));
}

void KeyedEncodingContainer::encode(const char* value, std::string_view key)
{
    encode(String(value), key);
}

void KeyedEncodingContainer::encodeNil(std::string_view key)
{
    childFor(key).encodeNil();
}

KeyedEncodingContainer KeyedEncodingContainer::nestedContainer(std::string_view key)
{
    auto node = m_encoder.m_node->member(key, Encoder::Node::Kind::object);
    return KeyedEncodingContainer(m_encoder.child(std::move(node), CodingKey::named(std::string(key))));
}

UnkeyedEncodingContainer KeyedEncodingContainer::nestedUnkeyedContainer(std::string_view key)
{
    auto node = m_encoder.m_node->member(key, Encoder::Node::Kind::array);
    return UnkeyedEncodingContainer(m_encoder.child(std::move(node), CodingKey::named(std::string(key))));
}

} // namespace Foundation
