#pragma once

#include "Basalwork/Base/ReferenceDictionary.hpp"
#include "Basalwork/Base/TextualForm.hpp"

#include "Platform/Foundation/NSObject.hpp"

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>

namespace Basalwork {

// A two-level map whose inner maps are shared objects: a caller can keep an inner map and change it in
// place, and the outer map sees the change. Reading an outer key never answers nothing.
template <class OuterKey, class InnerKey, class Value>
class DictionaryOfDictionaries : public Foundation::NSObject {
public:
    using Inner = ReferenceDictionary<InnerKey, Value>;
    using Dictionaries = std::unordered_map<OuterKey, std::shared_ptr<Inner>>;

    // The inner map under the key; a missing one is made empty and stored first.
    virtual std::shared_ptr<Inner> operator[](const OuterKey& key)
    {
        auto& inner = m_dictionaries[key];
        if (!inner)
            inner = Foundation::make<Inner>();
        return inner;
    }
    // Replaces whatever was stored. A null map removes the entry, so the next read starts a fresh one
    // rather than answering nothing.
    virtual void setValue(const OuterKey& key, std::shared_ptr<Inner> inner)
    {
        if (inner)
            m_dictionaries.insert_or_assign(key, std::move(inner));
        else
            m_dictionaries.erase(key);
    }
    // Reads (making the map when missing), lets `body` change or replace it, then stores the result.
    virtual void modify(const OuterKey& key, const std::function<void(std::shared_ptr<Inner>&)>& body)
    {
        auto inner = (*this)[key];
        body(inner);
        setValue(key, std::move(inner));
    }

    // Inner maps that callers still hold live on, unchanged; they are no longer part of this map.
    virtual void removeAll() { Dictionaries().swap(m_dictionaries); }

    std::string description() const override { return textualForm(m_dictionaries); }

protected:
    friend Foundation::Construct;
    explicit DictionaryOfDictionaries(Dictionaries dictionaries)
        : m_dictionaries(std::move(dictionaries))
    {
        // A null map handed in would break the promise that reads answer a map.
        std::erase_if(m_dictionaries, [](const auto& entry) { return entry.second == nullptr; });
    }

private:
    Dictionaries m_dictionaries;
};

} // namespace Basalwork
