#include "Platform/Foundation/JSONView.hpp"

#include <limits>

namespace Foundation {

std::optional<bool> JSONView::boolean() const
{
    if (!isBool())
        return std::nullopt;
    return value().boolean;
}

std::optional<std::int64_t> JSONView::int64() const
{
    const auto& held = value();
    if (held.writtenAsReal)
        return std::nullopt;
    if (held.kind == Kind::integer)
        return held.integer;
    if (held.kind == Kind::unsignedInteger && held.unsignedInteger <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
        return static_cast<std::int64_t>(held.unsignedInteger);
    return std::nullopt;
}

std::optional<std::uint64_t> JSONView::uint64() const
{
    const auto& held = value();
    if (held.writtenAsReal)
        return std::nullopt;
    if (held.kind == Kind::unsignedInteger)
        return held.unsignedInteger;
    if (held.kind == Kind::integer && held.integer >= 0)
        return static_cast<std::uint64_t>(held.integer);
    return std::nullopt;
}

std::optional<double> JSONView::number() const
{
    const auto& held = value();
    switch (held.kind) {
    case Kind::integer: return static_cast<double>(held.integer);
    case Kind::unsignedInteger: return static_cast<double>(held.unsignedInteger);
    case Kind::real: return held.real;
    default: return std::nullopt;
    }
}

std::optional<std::string_view> JSONView::string() const
{
    if (!isString())
        return std::nullopt;
    return value().text;
}

std::size_t JSONView::size() const
{
    return isArray() || isObject() ? value().count : 0;
}

std::optional<JSONView> JSONView::find(std::string_view key) const
{
    if (!isObject())
        return std::nullopt;
    const auto& object = value();
    const auto* members = m_document->members(object);
    for (std::uint32_t i = 0; i < object.count; ++i) {
        if (members[i].key == key)
            return JSONView(*m_document, members[i].value);
    }
    return std::nullopt;
}

JSONView JSONView::operator[](std::size_t position) const
{
    return JSONView(*m_document, m_document->elementIndex(value(), position));
}

JSONView::Elements JSONView::elements() const
{
    return {m_document, &value(), isArray() ? value().count : 0};
}

JSONView::Members JSONView::members() const
{
    return {m_document, m_document->members(value()), isObject() ? value().count : 0};
}

} // namespace Foundation
