#include "Platform/CloudKit/CKRecordValue.hpp"

#include "Platform/CloudKit/CKAsset.hpp"

#include <cmath>
#include <sstream>

namespace CloudKit {

CKRecordValue::CKRecordValue(std::shared_ptr<CKAsset> asset)
    : m_storage(std::move(asset))
{
}

CKRecordValue::CKRecordValue(List values)
    : m_storage(std::make_shared<const List>(std::move(values)))
{
}

const CKRecordValue::List* CKRecordValue::list() const
{
    auto list = std::get_if<std::shared_ptr<const List>>(&m_storage);
    return list ? list->get() : nullptr;
}

std::optional<std::int64_t> CKRecordValue::exactInteger() const
{
    if (auto integer = std::get_if<std::int64_t>(&m_storage))
        return *integer;
    if (auto real = std::get_if<double>(&m_storage)) {
        // 2^63 itself is out of range; every whole double below it converts exactly.
        if (std::isfinite(*real) && std::trunc(*real) == *real && *real >= -9223372036854775808.0
            && *real < 9223372036854775808.0)
            return static_cast<std::int64_t>(*real);
    }
    return std::nullopt;
}

std::optional<double> CKRecordValue::number() const
{
    if (auto real = std::get_if<double>(&m_storage))
        return *real;
    if (auto integer = std::get_if<std::int64_t>(&m_storage))
        return static_cast<double>(*integer);
    return std::nullopt;
}

std::string CKRecordValue::description() const
{
    switch (kind()) {
    case Kind::string:
        return "\"" + std::get<Foundation::String>(m_storage).utf8() + "\"";
    case Kind::int64:
        return std::to_string(std::get<std::int64_t>(m_storage));
    case Kind::double_: {
        std::ostringstream text;
        text << std::get<double>(m_storage);
        return text.str();
    }
    case Kind::date:
        return std::get<Foundation::Date>(m_storage).description();
    case Kind::data:
        return std::get<Foundation::Data>(m_storage).description();
    case Kind::asset: {
        auto& asset = std::get<std::shared_ptr<CKAsset>>(m_storage);
        return asset ? asset->description() : "<CKAsset: none>";
    }
    case Kind::list:
        break;
    }
    std::string text = "(";
    for (const auto& value : *list())
        text += (text.size() > 1 ? ", " : "") + value.description();
    return text + ")";
}

bool operator==(const CKRecordValue& lhs, const CKRecordValue& rhs)
{
    if (lhs.kind() != rhs.kind())
        return false;
    switch (lhs.kind()) {
    case CKRecordValue::Kind::string:
        return std::get<Foundation::String>(lhs.m_storage).utf8() == std::get<Foundation::String>(rhs.m_storage).utf8();
    case CKRecordValue::Kind::asset: {
        auto& left = std::get<std::shared_ptr<CKAsset>>(lhs.m_storage);
        auto& right = std::get<std::shared_ptr<CKAsset>>(rhs.m_storage);
        if (!left || !right)
            return left == right;
        return left == right || left->fileURL() == right->fileURL();
    }
    case CKRecordValue::Kind::list:
        return *lhs.list() == *rhs.list();
    default:
        return lhs.m_storage == rhs.m_storage;
    }
}

} // namespace CloudKit
