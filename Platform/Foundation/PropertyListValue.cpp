#include "Platform/Foundation/PropertyListValue.hpp"

#include <cmath>

namespace Foundation {
namespace {

// 2^63: the first double above every Int.
constexpr double integerLimit = 9223372036854775808.0;

} // namespace

PropertyListValue::PropertyListValue(Array value)
    : m_storage(std::make_shared<const Array>(std::move(value)))
{
}

PropertyListValue::PropertyListValue(Dictionary value)
    : m_storage(std::make_shared<const Dictionary>(std::move(value)))
{
}

const PropertyListValue::Array* PropertyListValue::array() const
{
    auto shared = std::get_if<std::shared_ptr<const Array>>(&m_storage);
    return shared ? shared->get() : nullptr;
}

const PropertyListValue::Dictionary* PropertyListValue::dictionary() const
{
    auto shared = std::get_if<std::shared_ptr<const Dictionary>>(&m_storage);
    return shared ? shared->get() : nullptr;
}

std::optional<bool> PropertyListValue::exactBool() const
{
    if (auto value = std::get_if<bool>(&m_storage))
        return *value;
    auto number = exactInteger();
    if (number && (*number == 0 || *number == 1))
        return *number == 1;
    return std::nullopt;
}

std::optional<std::int64_t> PropertyListValue::exactInteger() const
{
    if (auto value = std::get_if<bool>(&m_storage))
        return *value ? 1 : 0;
    if (auto value = std::get_if<std::int64_t>(&m_storage))
        return *value;
    if (auto value = std::get_if<double>(&m_storage)) {
        // NaN fails every comparison, so it is refused here too.
        if (*value >= -integerLimit && *value < integerLimit && std::trunc(*value) == *value)
            return static_cast<std::int64_t>(*value);
    }
    return std::nullopt;
}

std::optional<double> PropertyListValue::exactDouble() const
{
    if (auto value = std::get_if<double>(&m_storage))
        return *value;
    auto number = exactInteger();
    if (!number)
        return std::nullopt;
    auto converted = static_cast<double>(*number);
    // Large integers round to a neighbouring double; only an exact one bridges.
    if (converted >= integerLimit || static_cast<std::int64_t>(converted) != *number)
        return std::nullopt;
    return converted;
}

bool operator==(const PropertyListValue& lhs, const PropertyListValue& rhs)
{
    if (lhs.kind() != rhs.kind())
        return false;
    if (auto array = lhs.array())
        return *array == *rhs.array();
    if (auto dictionary = lhs.dictionary())
        return *dictionary == *rhs.dictionary();
    return lhs.m_storage == rhs.m_storage;
}

} // namespace Foundation
