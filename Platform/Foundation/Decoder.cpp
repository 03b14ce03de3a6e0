#include "Platform/Foundation/Codable.hpp"

#include "Platform/Foundation/DateFormatter.hpp"
#include "Platform/Foundation/ISO8601DateFormatter.hpp"
#include "Platform/Foundation/JSONDateStrategy.hpp"
#include "Platform/Foundation/JSONWriter.hpp"

#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>

namespace Foundation {
namespace {

const char* kindDescription(const nlohmann::ordered_json& value)
{
    switch (value.type()) {
    case nlohmann::ordered_json::value_t::null: return "null";
    case nlohmann::ordered_json::value_t::boolean: return "bool";
    case nlohmann::ordered_json::value_t::string: return "a string";
    case nlohmann::ordered_json::value_t::array: return "an array";
    case nlohmann::ordered_json::value_t::object: return "a dictionary";
    default: return "a number";
    }
}

constexpr const char* dictionaryType = "Dictionary<String, Any>";
constexpr const char* arrayType = "Array<Any>";

} // namespace

Decoder::Decoder(const nlohmann::ordered_json& value, CodingPath path, const JSONDateStrategy& dateStrategy)
    : m_value(&value)
    , m_path(std::move(path))
    , m_dateStrategy(&dateStrategy)
{
}

Decoder Decoder::child(const nlohmann::ordered_json& value, CodingKey key) const
{
    CodingPath path = m_path;
    path.push_back(std::move(key));
    return Decoder(value, std::move(path), *m_dateStrategy);
}

KeyedDecodingContainer Decoder::container() const
{
    if (m_value->is_null())
        throw DecodingError::valueNotFound(dictionaryType, {m_path, "Cannot get keyed decoding container -- found null value instead", nullptr});
    if (!m_value->is_object())
        failMismatch(dictionaryType);
    return KeyedDecodingContainer(*this);
}

UnkeyedDecodingContainer Decoder::unkeyedContainer() const
{
    if (m_value->is_null())
        throw DecodingError::valueNotFound(arrayType, {m_path, "Cannot get unkeyed decoding container -- found null value instead", nullptr});
    if (!m_value->is_array())
        failMismatch(arrayType);
    return UnkeyedDecodingContainer(*this);
}

SingleValueDecodingContainer Decoder::singleValueContainer() const
{
    return SingleValueDecodingContainer(*this);
}

void Decoder::failMismatch(const std::string& type) const
{
    if (m_value->is_null())
        throw DecodingError::valueNotFound(type, {m_path, "Expected " + type + " value but found null instead.", nullptr});
    throw DecodingError::typeMismatch(type, {m_path, "Expected to decode " + type + " but found " + kindDescription(*m_value) + " instead.", nullptr});
}

bool Decoder::decodeNil() const
{
    return m_value->is_null();
}

bool Decoder::decodeBool() const
{
    if (!m_value->is_boolean())
        failMismatch("Bool");
    return m_value->get<bool>();
}

std::int64_t Decoder::decodeInteger(std::int64_t min, std::int64_t max, const char* typeName) const
{
    if (!m_value->is_number())
        failMismatch(typeName);
    if (m_value->is_number_unsigned()) {
        auto value = m_value->get<std::uint64_t>();
        if (value <= static_cast<std::uint64_t>(max))
            return static_cast<std::int64_t>(value);
    } else if (m_value->is_number_integer()) {
        auto value = m_value->get<std::int64_t>();
        if (value >= min && value <= max)
            return value;
    }
    // A whole number written with a fraction or an exponent ("34.0", "1e2") was read as an integer from
    // its text; what is left as floating point has a fraction or fits no 64-bit integer.
    throw DecodingError::dataCorrupted({m_path, "Parsed JSON number <" + JSONWriter::numberText(*m_value) + "> does not fit in " + typeName + ".", nullptr});
}

std::uint64_t Decoder::decodeUnsignedInteger(std::uint64_t max, const char* typeName) const
{
    if (!m_value->is_number())
        failMismatch(typeName);
    if (m_value->is_number_unsigned()) {
        auto value = m_value->get<std::uint64_t>();
        if (value <= max)
            return value;
    } else if (m_value->is_number_integer()) {
        auto value = m_value->get<std::int64_t>();
        if (value >= 0 && static_cast<std::uint64_t>(value) <= max)
            return static_cast<std::uint64_t>(value);
    }
    throw DecodingError::dataCorrupted({m_path, "Parsed JSON number <" + JSONWriter::numberText(*m_value) + "> does not fit in " + typeName + ".", nullptr});
}

double Decoder::decodeDouble() const
{
    if (!m_value->is_number())
        failMismatch("Double");
    return m_value->get<double>();
}

float Decoder::decodeFloat() const
{
    if (!m_value->is_number())
        failMismatch("Float");
    double value = m_value->get<double>();
    if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max()))
        throw DecodingError::dataCorrupted({m_path, "Parsed JSON number <" + JSONWriter::numberText(*m_value) + "> does not fit in Float.", nullptr});
    return static_cast<float>(value);
}

String Decoder::decodeString() const
{
    if (!m_value->is_string())
        failMismatch("String");
    return String(m_value->get_ref<const std::string&>());
}

Data Decoder::decodeData() const
{
    auto data = Data::fromBase64(decodeString().view());
    if (!data)
        throw DecodingError::dataCorrupted({m_path, "Encountered Data is not valid Base64.", nullptr});
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
        throw DecodingError::dataCorrupted({m_path, "Expected date string to be ISO8601-formatted.", nullptr});
    }
    case JSONDateStrategy::Kind::formatted:
        if (auto date = m_dateStrategy->formatter()->date(decodeString()))
            return *date;
        throw DecodingError::dataCorrupted({m_path, "Date string does not match format expected by formatter.", nullptr});
    }
    return Date();
}

} // namespace Foundation
