#include "Platform/Foundation/KeyedEncodingContainer.hpp"

#include "Platform/Foundation/Encoder.Node.hpp"

namespace Foundation {

Encoder KeyedEncodingContainer::childFor(std::string_view key)
{
    return m_encoder.child(m_encoder.m_node->replaceMember(key));
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
    return KeyedEncodingContainer(m_encoder.child(m_encoder.m_node->member(key, Encoder::Node::Kind::object)));
}

UnkeyedEncodingContainer KeyedEncodingContainer::nestedUnkeyedContainer(std::string_view key)
{
    return UnkeyedEncodingContainer(m_encoder.child(m_encoder.m_node->member(key, Encoder::Node::Kind::array)));
}

} // namespace Foundation
