#include "Platform/CloudKit/RecordCoding.hpp"

#include "Platform/CloudKit/CKAsset.hpp"

#include <cmath>

namespace CloudKit::RecordCoding {
namespace {

Json encodeDouble(double value)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value > 0 ? "inf" : "-inf";
    return value;
}

std::optional<double> decodeDouble(const Json& value)
{
    if (value.is_number())
        return value.get<double>();
    if (!value.is_string())
        return std::nullopt;
    auto text = value.get<std::string>();
    if (text == "nan")
        return std::nan("");
    if (text == "inf")
        return INFINITY;
    if (text == "-inf")
        return -INFINITY;
    return std::nullopt;
}

std::optional<CKRecordValue> decodeValue(const Json& value, const AssetReader& assetReader, bool insideList)
{
    if (!value.is_object() || value.size() != 1)
        return std::nullopt;
    auto member = value.begin();
    const std::string kind = member.key();
    const Json& payload = member.value();
    if (kind == "string" && payload.is_string())
        return CKRecordValue(Foundation::String(payload.get<std::string>()));
    if (kind == "int64" && payload.is_number_integer()) {
        if (payload.is_number_unsigned() && payload.get<std::uint64_t>() > std::uint64_t(INT64_MAX))
            return std::nullopt;
        return CKRecordValue(payload.get<std::int64_t>());
    }
    if (kind == "double") {
        if (auto number = decodeDouble(payload))
            return CKRecordValue(*number);
        return std::nullopt;
    }
    if (kind == "date" && payload.is_number())
        return CKRecordValue(Foundation::Date(payload.get<double>()));
    if (kind == "data" && payload.is_string()) {
        if (auto data = Foundation::Data::fromBase64(payload.get<std::string>()))
            return CKRecordValue(std::move(*data));
        return std::nullopt;
    }
    if (kind == "asset" && payload.is_string()) {
        if (auto asset = assetReader(payload.get<std::string>()))
            return CKRecordValue(std::move(asset));
        return std::nullopt;
    }
    if (kind == "list" && payload.is_array() && !insideList) {
        CKRecordValue::List list;
        list.reserve(payload.size());
        for (const auto& element : payload) {
            auto decoded = decodeValue(element, assetReader, true);
            if (!decoded)
                return std::nullopt;
            list.push_back(std::move(*decoded));
        }
        return CKRecordValue(std::move(list));
    }
    return std::nullopt;
}

} // namespace

Json encode(const CKRecordValue& value, const AssetWriter& assetWriter)
{
    switch (value.kind()) {
    case CKRecordValue::Kind::string:
        return {{"string", value.as<Foundation::String>()->utf8()}};
    case CKRecordValue::Kind::int64:
        return {{"int64", *value.as<std::int64_t>()}};
    case CKRecordValue::Kind::double_:
        return {{"double", encodeDouble(*value.as<double>())}};
    case CKRecordValue::Kind::date:
        return {{"date", value.as<Foundation::Date>()->timeIntervalSinceReferenceDate()}};
    case CKRecordValue::Kind::data:
        return {{"data", value.as<Foundation::Data>()->base64EncodedString()}};
    case CKRecordValue::Kind::asset: {
        auto asset = *value.as<std::shared_ptr<CKAsset>>();
        return {{"asset", asset ? assetWriter(*asset) : std::string()}};
    }
    case CKRecordValue::Kind::list:
        break;
    }
    Json list = Json::array();
    for (const auto& element : *value.list())
        list.push_back(encode(element, assetWriter));
    return {{"list", std::move(list)}};
}

std::optional<CKRecordValue> decode(const Json& value, const AssetReader& assetReader)
{
    return decodeValue(value, assetReader, false);
}

bool isValidName(const std::string& name)
{
    if (name.empty() || name.size() > 255)
        return false;
    auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (!isLetter(name.front()))
        return false;
    for (char c : name) {
        if (!isLetter(c) && !(c >= '0' && c <= '9') && c != '_')
            return false;
    }
    return true;
}

} // namespace CloudKit::RecordCoding
