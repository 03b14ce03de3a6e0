#include "Platform/Foundation/KeyedDecodingContainer.hpp"

#include "Platform/Foundation/Describe.hpp"

#include <nlohmann/json.hpp>

namespace Foundation {
namespace {

// Below this many members a scan is cheaper than building an index.
constexpr std::size_t indexThreshold = 16;

} // namespace

KeyedDecodingContainer::KeyedDecodingContainer(Decoder decoder)
    : m_decoder(std::move(decoder))
{
    const auto& object = m_decoder.json().get_ref<const nlohmann::ordered_json::object_t&>();
    if (object.size() > indexThreshold) {
        auto index = std::make_shared<Index>();
        index->reserve(object.size());
        for (const auto& [key, value] : object)
            index->insert_or_assign(std::string_view(key), &value);
        m_index = std::move(index);
    }
}

const nlohmann::ordered_json* KeyedDecodingContainer::find(std::string_view key) const
{
    if (m_index) {
        auto found = m_index->find(key);
        return found == m_index->end() ? nullptr : found->second;
    }
    for (const auto& [name, value] : m_decoder.json().get_ref<const nlohmann::ordered_json::object_t&>()) {
        if (name == key)
            return &value;
    }
    return nullptr;
}

std::vector<std::string> KeyedDecodingContainer::allKeys() const
{
    std::vector<std::string> keys;
    for (const auto& [name, value] : m_decoder.json().get_ref<const nlohmann::ordered_json::object_t&>())
        keys.push_back(name);
    return keys;
}

bool KeyedDecodingContainer::contains(std::string_view key) const
{
    return find(key) != nullptr;
}

Decoder KeyedDecodingContainer::childFor(std::string_view key) const
{
    const auto* value = find(key);
    if (!value) {
        auto codingKey = CodingKey::named(std::string(key));
        std::string message = "No value associated with key " + codingKey.description() + " (" + debugQuoted(key) + ").";
        throw DecodingError::keyNotFound(std::move(codingKey), {codingPath(), std::move(message), nullptr});
    }
    return m_decoder.child(*value, CodingKey::named(std::string(key)));
}

std::optional<Decoder> KeyedDecodingContainer::presentChildFor(std::string_view key) const
{
    const auto* value = find(key);
    if (!value || value->is_null())
        return std::nullopt;
    return m_decoder.child(*value, CodingKey::named(std::string(key)));
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
