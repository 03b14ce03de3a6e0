#include "Platform/Foundation/SingleValueEncodingContainer.hpp"

#include "Platform/Foundation/Encoder.Node.hpp"
#include "Platform/Foundation/FatalError.hpp"

namespace Foundation {

void SingleValueEncodingContainer::checkCanEncode() const
{
    precondition(m_encoder.m_node->kind == Encoder::Node::Kind::empty,
                 "Attempt to encode value through single value container when previously value already encoded.");
}

void SingleValueEncodingContainer::encode(const char* value)
{
    encode(String(value));
}

void SingleValueEncodingContainer::encodeNil()
{
    checkCanEncode();
    m_encoder.encodeNil();
}

} // namespace Foundation
