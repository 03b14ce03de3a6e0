#include "Platform/Foundation/KeyedDecodingContainer.hpp"

#include "Platform/Foundation/Describe.hpp"

#include "Platform/Foundation/JSONDocument.hpp"

namespace Foundation {
namespace {

// Up to this many members a scan is cheaper than building an index (an item's twenty-odd included).
constexpr std::size_t indexThreshold = 32;

} // namespace

KeyedDecodingContainer::KeyedDecodingContainer(Decoder decoder)
    : m_decoder(std::move(decoder))
{
    const auto& document = m_decoder.document();
    const auto& object = document.value(m_decoder.valueIndex());
    if (object.count > indexThreshold) {
        auto index = std::make_shared<Index>();
        index->reserve(object.count);
        const auto* members = document.members(object);
        for (std::size_t i = 0; i < object.count; ++i)
            index->emplace(members[i].key, members[i].value);
        m_index = std::move(index);
    }
}

std::optional<std::uint32_t> KeyedDecodingContainer::find(std::string_view key) const
{
    if (m_index) {
        auto found = m_index->find(key);
        if (found == m_index->end())
            return std::nullopt;
        return found->second;
    }
    const auto& document = m_decoder.document();
    const auto& object = document.value(m_decoder.valueIndex());
    const auto* members = document.members(object);
    for (std::size_t i = 0; i < object.count; ++i) {
        if (members[i].key == key)
            return members[i].value;
    }
    return std::nullopt;
}

std::vector<std::string> KeyedDecodingContainer::allKeys() const
{
    const auto& document = m_decoder.document();
    const auto& object = document.value(m_decoder.valueIndex());
    const auto* members = document.members(object);
    std::vector<std::string> keys;
    keys.reserve(object.count);
    for (std::size_t i = 0; i < object.count; ++i)
        keys.emplace_back(members[i].key);
    return keys;
}

bool KeyedDecodingContainer::contains(std::string_view key) const
{
    return find(key).has_value();
}

Decoder KeyedDecodingContainer::childFor(std::string_view key) const
{
    auto value = find(key);
    if (!value) {
        auto codingKey = CodingKey::named(std::string(key));
        std::string message = "No value associated with key " + codingKey.description() + " (" + debugQuoted(key) + ").";
        throw DecodingError::keyNotFound(std::move(codingKey), {codingPath(), std::move(message), nullptr});
    }
    return m_decoder.child(*value);
}

std::optional<Decoder> KeyedDecodingContainer::presentChildFor(std::string_view key) const
{
    auto value = find(key);
    if (!value || m_decoder.document().value(*value).kind == JSONDocument::Kind::null)
        return std::nullopt;
    return m_decoder.child(*value);
}

bool KeyedDecodingContainer::decodeNil(std::string_view key) const
{
    return childFor(key).decodeNil();
}

KeyedDecodingContainer KeyedDecodingContainer::nestedContainer(std::string_view key) const
{
    return childFor(key).container();
}

UnkeyedDecodingContainer KeyedDecodingContainer::nestedUnkeyedContainer(std::string_view key) const
{
    return childFor(key).unkeyedContainer();
}

} // namespace Foundation
