#include "Platform/Foundation/Codable.hpp"

#include "Platform/Foundation/DateFormatter.hpp"
#include "Platform/Foundation/ISO8601DateFormatter.hpp"
#include "Platform/Foundation/JSONDateStrategy.hpp"
#include "Platform/Foundation/JSONDocument.hpp"
#include "Platform/Foundation/JSONWriter.hpp"

#include <cmath>
#include <limits>

namespace Foundation {
namespace {

using Kind = JSONDocument::Kind;

const char* kindDescription(const JSONDocument::Value& value)
{
    switch (value.kind) {
    case Kind::null: return "null";
    case Kind::boolean: return "bool";
    case Kind::string: return "a string";
    case Kind::array: return "an array";
    case Kind::object: return "a dictionary";
    default: return "a number";
    }
}

bool isNumber(const JSONDocument::Value& value)
{
    return value.kind == Kind::integer || value.kind == Kind::unsignedInteger || value.kind == Kind::real;
}

double doubleValue(const JSONDocument::Value& value)
{
    switch (value.kind) {
    case Kind::integer: return static_cast<double>(value.integer);
    case Kind::unsignedInteger: return static_cast<double>(value.unsignedInteger);
    default: return value.real;
    }
}

std::string numberText(const JSONDocument::Value& value)
{
    switch (value.kind) {
    case Kind::integer: return std::to_string(value.integer);
    case Kind::unsignedInteger: return std::to_string(value.unsignedInteger);
    default: return JSONWriter::numberText(value.real);
    }
}

constexpr const char* dictionaryType = "Dictionary<String, Any>";
constexpr const char* arrayType = "Array<Any>";

} // namespace

Decoder::Decoder(const JSONDocument& document, std::uint32_t value, const JSONDateStrategy& dateStrategy, std::uint32_t top)
    : m_document(&document)
    , m_valueIndex(value)
    , m_topIndex(top)
    , m_dateStrategy(&dateStrategy)
{
}

Decoder Decoder::child(std::uint32_t value) const
{
    return Decoder(*m_document, value, *m_dateStrategy, m_topIndex);
}

const CodingPath& Decoder::codingPath() const
{
    if (!m_path)
        m_path = m_document->codingPath(m_valueIndex, m_topIndex);
    return *m_path;
}

KeyedDecodingContainer Decoder::container() const
{
    const auto& value = m_document->value(m_valueIndex);
    if (value.kind == Kind::null)
        throw DecodingError::valueNotFound(dictionaryType, {codingPath(), "Cannot get keyed decoding container -- found null value instead", nullptr});
    if (value.kind != Kind::object)
        failMismatch(dictionaryType);
    return KeyedDecodingContainer(*this);
}

UnkeyedDecodingContainer Decoder::unkeyedContainer() const
{
    const auto& value = m_document->value(m_valueIndex);
    if (value.kind == Kind::null)
        throw DecodingError::valueNotFound(arrayType, {codingPath(), "Cannot get unkeyed decoding container -- found null value instead", nullptr});
    if (value.kind != Kind::array)
        failMismatch(arrayType);
    return UnkeyedDecodingContainer(*this);
}

SingleValueDecodingContainer Decoder::singleValueContainer() const
{
    return SingleValueDecodingContainer(*this);
}

void Decoder::failMismatch(const std::string& type) const
{
    const auto& value = m_document->value(m_valueIndex);
    if (value.kind == Kind::null)
        throw DecodingError::valueNotFound(type, {codingPath(), "Expected " + type + " value but found null instead.", nullptr});
    throw DecodingError::typeMismatch(type, {codingPath(), "Expected to decode " + type + " but found " + kindDescription(value) + " instead.", nullptr});
}

bool Decoder::decodeNil() const
{
    return m_document->value(m_valueIndex).kind == Kind::null;
}

bool Decoder::decodeBool() const
{
    const auto& value = m_document->value(m_valueIndex);
    if (value.kind != Kind::boolean)
        failMismatch("Bool");
    return value.boolean;
}

std::int64_t Decoder::decodeInteger(std::int64_t min, std::int64_t max, const char* typeName) const
{
    const auto& number = m_document->value(m_valueIndex);
    if (!isNumber(number))
        failMismatch(typeName);
    if (number.kind == Kind::unsignedInteger) {
        auto value = number.unsignedInteger;
        if (value <= static_cast<std::uint64_t>(max))
            return static_cast<std::int64_t>(value);
    } else if (number.kind == Kind::integer) {
        auto value = number.integer;
        if (value >= min && value <= max)
            return value;
    }
    // A whole number written with a fraction or an exponent ("34.0", "1e2") was read as an integer from
    // its text; what is left as floating point has a fraction or fits no 64-bit integer.
    throw DecodingError::dataCorrupted({codingPath(), "Parsed JSON number <" + numberText(number) + "> does not fit in " + typeName + ".", nullptr});
}

std::uint64_t Decoder::decodeUnsignedInteger(std::uint64_t max, const char* typeName) const
{
    const auto& number = m_document->value(m_valueIndex);
    if (!isNumber(number))
        failMismatch(typeName);
    if (number.kind == Kind::unsignedInteger) {
        auto value = number.unsignedInteger;
        if (value <= max)
            return value;
    } else if (number.kind == Kind::integer) {
        auto value = number.integer;
        if (value >= 0 && static_cast<std::uint64_t>(value) <= max)
            return static_cast<std::uint64_t>(value);
    }
    throw DecodingError::dataCorrupted({codingPath(), "Parsed JSON number <" + numberText(number) + "> does not fit in " + typeName + ".", nullptr});
}

double Decoder::decodeDouble() const
{
    const auto& number = m_document->value(m_valueIndex);
    if (!isNumber(number))
        failMismatch("Double");
    return doubleValue(number);
}

float Decoder::decodeFloat() const
{
    const auto& number = m_document->value(m_valueIndex);
    if (!isNumber(number))
        failMismatch("Float");
    double value = doubleValue(number);
    if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max()))
        throw DecodingError::dataCorrupted({codingPath(), "Parsed JSON number <" + numberText(number) + "> does not fit in Float.", nullptr});
    return static_cast<float>(value);
}

String Decoder::decodeString() const
{
    const auto& value = m_document->value(m_valueIndex);
    if (value.kind != Kind::string)
        failMismatch("String");
    return String(value.text);
}

Data Decoder::decodeData() const
{
    auto data = Data::fromBase64(decodeString().view());
    if (!data)
        throw DecodingError::dataCorrupted({codingPath(), "Encountered Data is not valid Base64.", nullptr});
    return std::move(*data);
}

Date Decoder::decodeDate() const
{
    switch (m_dateStrategy->kind()) {
    case JSONDateStrategy::Kind::deferredToDate:
        return Date(decodeDouble());
    case JSONDateStrategy::Kind::secondsSince1970:
        return Date::fromTimeIntervalSince1970(decodeDouble());
    case JSONDateStrategy::Kind::millisecondsSince1970:
        return Date::fromTimeIntervalSince1970(decodeDouble() / 1000.0);
    case JSONDateStrategy::Kind::iso8601: {
        static const auto formatter = make<ISO8601DateFormatter>();
        if (auto date = formatter->date(decodeString()))
            return *date;
        throw DecodingError::dataCorrupted({codingPath(), "Expected date string to be ISO8601-formatted.", nullptr});
    }
    case JSONDateStrategy::Kind::formatted:
        if (auto date = m_dateStrategy->formatter()->date(decodeString()))
            return *date;
        throw DecodingError::dataCorrupted({codingPath(), "Date string does not match format expected by formatter.", nullptr});
    }
    return Date();
}

} // namespace Foundation
