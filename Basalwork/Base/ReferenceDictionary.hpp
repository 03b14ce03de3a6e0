#pragma once

#include "Basalwork/Base/TextualForm.hpp"
#include "Basalwork/Base/ZeroParamInitializable.hpp"

#include "Platform/Foundation/NSObject.hpp"

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Basalwork {

// A dictionary shared by reference: everyone holding the object sees every change.
template <class Key, class Value>
class ReferenceDictionary : public Foundation::NSObject {
public:
    using Dictionary = std::unordered_map<Key, Value>;

    // init(dictionaryLiteral:): of pairs with the same key, the first one's value is kept.
    static std::shared_ptr<ReferenceDictionary> withDictionaryLiteral(std::initializer_list<std::pair<const Key, Value>> elements)
    {
        return Foundation::make<ReferenceDictionary>(Dictionary(elements));
    }

    // In the dictionary's iteration order.
    std::vector<Key> keys() const
    {
        std::vector<Key> result;
        result.reserve(m_dictionary.size());
        for (const auto& entry : m_dictionary)
            result.push_back(entry.first);
        return result;
    }
    std::vector<Value> values() const
    {
        std::vector<Value> result;
        result.reserve(m_dictionary.size());
        for (const auto& entry : m_dictionary)
            result.push_back(entry.second);
        return result;
    }

    // dictionary[key]: the stored value, open to change in place, or nothing.
    const Value* value(const Key& key) const
    {
        auto found = m_dictionary.find(key);
        return found == m_dictionary.end() ? nullptr : &found->second;
    }
    Value* value(const Key& key)
    {
        auto found = m_dictionary.find(key);
        return found == m_dictionary.end() ? nullptr : &found->second;
    }
    // Nothing removes the entry.
    void setValue(const Key& key, std::optional<Value> value)
    {
        if (value)
            m_dictionary.insert_or_assign(key, std::move(*value));
        else
            m_dictionary.erase(key);
    }

    // dictionary[init: key]: a missing key is first given the value type's empty value, so reading one
    // changes the dictionary. Assign through the reference to write.
    Value& operator[](const Key& key)
        requires ZeroParamInitializable<Value>
    {
        auto found = m_dictionary.find(key);
        if (found == m_dictionary.end())
            found = m_dictionary.emplace(key, makeZeroParam<Value>()).first;
        return found->second;
    }

    // Also gives up the storage, so an emptied dictionary holds no memory.
    void removeAll() { Dictionary().swap(m_dictionary); }
    std::optional<Value> removeValue(const Key& forKey)
    {
        auto found = m_dictionary.find(forKey);
        if (found == m_dictionary.end())
            return std::nullopt;
        std::optional<Value> removed(std::move(found->second));
        m_dictionary.erase(found);
        return removed;
    }

    std::string description() const override { return textualForm(m_dictionary); }

protected:
    friend Foundation::Construct;
    ReferenceDictionary() = default;
    explicit ReferenceDictionary(Dictionary dictionary)
        : m_dictionary(std::move(dictionary))
    {
    }

private:
    Dictionary m_dictionary;
};

// A new, empty dictionary object.
template <class Key, class Value>
struct ZeroParamInitialization<std::shared_ptr<ReferenceDictionary<Key, Value>>> {
    static std::shared_ptr<ReferenceDictionary<Key, Value>> make() { return Foundation::make<ReferenceDictionary<Key, Value>>(); }
};

} // namespace Basalwork
