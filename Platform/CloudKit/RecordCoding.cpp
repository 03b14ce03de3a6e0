#include "Platform/CloudKit/RecordCoding.hpp"

#include "Platform/CloudKit/CKAsset.hpp"
#include "Platform/Foundation/JSONStreamWriter.hpp"
#include "Platform/Foundation/JSONView.hpp"

#include <cmath>

namespace CloudKit::RecordCoding {
namespace {

using Foundation::JSONView;

void encodeDouble(Foundation::JSONStreamWriter& writer, double value)
{
    if (std::isnan(value))
        writer.string("nan");
    else if (std::isinf(value))
        writer.string(value > 0 ? "inf" : "-inf");
    else
        writer.real(value);
}

std::optional<double> decodeDouble(const JSONView& value)
{
    if (auto number = value.number())
        return number;
    auto text = value.string();
    if (text == "nan")
        return std::nan("");
    if (text == "inf")
        return INFINITY;
    if (text == "-inf")
        return -INFINITY;
    return std::nullopt;
}

// Makes the value into `out`, or with none only checks that it would read.
bool decodeValue(const JSONView& value, const AssetReader& assetReader, bool insideList, std::optional<CKRecordValue>* out)
{
    if (value.size() != 1 || !value.isObject())
        return false;
    auto [kind, payload] = *value.members().begin();
    auto made = [&](auto&& decoded) {
        if (out)
            out->emplace(std::forward<decltype(decoded)>(decoded));
        return true;
    };
    if (kind == "string" && payload.isString())
        return made(Foundation::String(*payload.string()));
    if (kind == "int64" && payload.isInteger()) {
        auto number = payload.int64();
        return number && made(*number);
    }
    if (kind == "double") {
        auto number = decodeDouble(payload);
        return number && made(*number);
    }
    if (kind == "date" && payload.isNumber())
        return made(Foundation::Date(*payload.number()));
    if (kind == "data" && payload.isString()) {
        if (!out)
            return Foundation::Data::isBase64(*payload.string());
        auto data = Foundation::Data::fromBase64(*payload.string());
        return data && made(std::move(*data));
    }
    if (kind == "asset" && payload.isString()) {
        auto asset = assetReader(std::string(*payload.string()));
        return asset && made(std::move(asset));
    }
    if (kind == "list" && payload.isArray() && !insideList) {
        CKRecordValue::List list;
        if (out)
            list.reserve(payload.size());
        for (auto element : payload.elements()) {
            std::optional<CKRecordValue> decoded;
            if (!decodeValue(element, assetReader, true, out ? &decoded : nullptr))
                return false;
            if (out)
                list.push_back(std::move(*decoded));
        }
        return made(std::move(list));
    }
    return false;
}

} // namespace

void encode(Foundation::JSONStreamWriter& writer, const CKRecordValue& value, const AssetWriter& assetWriter)
{
    writer.beginObject();
    switch (value.kind()) {
    case CKRecordValue::Kind::string:
        writer.key("string").string(value.as<Foundation::String>()->utf8());
        break;
    case CKRecordValue::Kind::int64:
        writer.key("int64").integer(*value.as<std::int64_t>());
        break;
    case CKRecordValue::Kind::double_:
        encodeDouble(writer.key("double"), *value.as<double>());
        break;
    case CKRecordValue::Kind::date:
        writer.key("date").real(value.as<Foundation::Date>()->timeIntervalSinceReferenceDate());
        break;
    case CKRecordValue::Kind::data:
        writer.key("data").string(value.as<Foundation::Data>()->base64EncodedString());
        break;
    case CKRecordValue::Kind::asset: {
        auto asset = *value.as<std::shared_ptr<CKAsset>>();
        writer.key("asset").string(asset ? assetWriter(*asset) : std::string());
        break;
    }
    case CKRecordValue::Kind::list:
        writer.key("list").beginArray();
        for (const auto& element : *value.list())
            encode(writer, element, assetWriter);
        writer.endArray();
        break;
    }
    writer.endObject();
}

std::optional<CKRecordValue> decode(const JSONView& value, const AssetReader& assetReader)
{
    std::optional<CKRecordValue> decoded;
    if (!decodeValue(value, assetReader, false, &decoded))
        return std::nullopt;
    return decoded;
}

bool isReadable(const JSONView& value, const AssetReader& assetReader)
{
    return decodeValue(value, assetReader, false, nullptr);
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
