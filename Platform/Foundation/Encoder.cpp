#include "Platform/Foundation/Codable.hpp"

#include "Platform/Foundation/Encoder.Node.hpp"
#include "Platform/Foundation/ISO8601DateFormatter.hpp"
#include "Platform/Foundation/DateFormatter.hpp"
#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/JSONDateStrategy.hpp"

#include <charconv>
#include <cmath>

namespace Foundation {
namespace {

std::string nonFiniteName(double value, const char* type)
{
    if (std::isnan(value))
        return std::string(type) + ".nan";
    return std::string(value < 0 ? "-" : "") + type + ".infinity";
}

} // namespace

Encoder::Encoder(Node* node, const JSONDateStrategy& dateStrategy)
    : m_node(node)
    , m_dateStrategy(&dateStrategy)
{
}

Encoder Encoder::child(Node* node) const
{
    return Encoder(node, *m_dateStrategy);
}

const CodingPath& Encoder::codingPath() const
{
    if (!m_path)
        m_path = m_node->codingPath();
    return *m_path;
}

KeyedEncodingContainer Encoder::container()
{
    if (m_node->kind == Node::Kind::empty)
        m_node->kind = Node::Kind::object;
    precondition(m_node->kind == Node::Kind::object,
                 "Attempt to push new keyed encoding container when already previously encoded at this path.");
    return KeyedEncodingContainer(*this);
}

UnkeyedEncodingContainer Encoder::unkeyedContainer()
{
    if (m_node->kind == Node::Kind::empty)
        m_node->kind = Node::Kind::array;
    precondition(m_node->kind == Node::Kind::array,
                 "Attempt to push new unkeyed encoding container when already previously encoded at this path.");
    return UnkeyedEncodingContainer(*this);
}

SingleValueEncodingContainer Encoder::singleValueContainer()
{
    return SingleValueEncodingContainer(*this);
}

void Encoder::encodeNil()
{
    m_node->kind = Node::Kind::value;
    m_node->scalar = Node::Scalar::null;
}

void Encoder::encodeBool(bool value)
{
    m_node->kind = Node::Kind::value;
    m_node->scalar = Node::Scalar::boolean;
    m_node->boolean = value;
}

void Encoder::encodeInteger(std::int64_t value)
{
    m_node->kind = Node::Kind::value;
    m_node->scalar = Node::Scalar::integer;
    m_node->integer = value;
}

void Encoder::encodeUnsignedInteger(std::uint64_t value)
{
    m_node->kind = Node::Kind::value;
    m_node->scalar = Node::Scalar::unsignedInteger;
    m_node->unsignedInteger = value;
}

void Encoder::encodeDouble(double value)
{
    if (!std::isfinite(value)) {
        std::string name = nonFiniteName(value, "Double");
        throw EncodingError::invalidValue(name, {codingPath(), "Unable to encode " + name + " directly in JSON.", nullptr});
    }
    m_node->kind = Node::Kind::value;
    m_node->scalar = Node::Scalar::real;
    m_node->real = value;
}

void Encoder::encodeFloat(float value)
{
    if (!std::isfinite(value)) {
        std::string name = nonFiniteName(value, "Float");
        throw EncodingError::invalidValue(name, {codingPath(), "Unable to encode " + name + " directly in JSON.", nullptr});
    }
    // Through the float's own shortest text, so 0.1f is written as 0.1 and not as the double it widens to.
    char buffer[32];
    auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    double widened = 0;
    std::from_chars(buffer, written.ptr, widened);
    m_node->kind = Node::Kind::value;
    m_node->scalar = Node::Scalar::real;
    m_node->real = widened;
}

void Encoder::encodeString(std::string_view value)
{
    m_node->kind = Node::Kind::value;
    m_node->scalar = Node::Scalar::string;
    m_node->text.assign(value);
}

void Encoder::encodeData(const Data& value)
{
    encodeString(value.base64EncodedString());
}

void Encoder::encodeDate(const Date& value)
{
    switch (m_dateStrategy->kind()) {
    case JSONDateStrategy::Kind::deferredToDate:
        encodeDouble(value.timeIntervalSinceReferenceDate());
        return;
    case JSONDateStrategy::Kind::secondsSince1970:
        encodeDouble(value.timeIntervalSince1970());
        return;
    case JSONDateStrategy::Kind::millisecondsSince1970:
        encodeDouble(1000.0 * value.timeIntervalSince1970());
        return;
    case JSONDateStrategy::Kind::iso8601: {
        static const auto formatter = make<ISO8601DateFormatter>();
        encodeString(formatter->string(value).view());
        return;
    }
    case JSONDateStrategy::Kind::formatted:
        encodeString(m_dateStrategy->formatter()->string(value).view());
        return;
    }
}

} // namespace Foundation
