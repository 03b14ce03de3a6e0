#include "Platform/Foundation/UnkeyedEncodingContainer.hpp"

#include "Platform/Foundation/Encoder.Node.hpp"

namespace Foundation {

std::int64_t UnkeyedEncodingContainer::count() const
{
    return static_cast<std::int64_t>(m_encoder.m_node->children.size());
}

Encoder UnkeyedEncodingContainer::nextChild()
{
    return m_encoder.child(m_encoder.m_node->appendElement());
}

void UnkeyedEncodingContainer::encode(const char* value)
{
    encode(String(value));
}

void UnkeyedEncodingContainer::encodeNil()
{
    nextChild().encodeNil();
}

KeyedEncodingContainer UnkeyedEncodingContainer::nestedContainer()
{
    Encoder child = nextChild();
    child.m_node->kind = Encoder::Node::Kind::object;
    return KeyedEncodingContainer(std::move(child));
}

UnkeyedEncodingContainer UnkeyedEncodingContainer::nestedUnkeyedContainer()
{
    Encoder child = nextChild();
    child.m_node->kind = Encoder::Node::Kind::array;
    return UnkeyedEncodingContainer(std::move(child));
}

} // namespace Foundation
