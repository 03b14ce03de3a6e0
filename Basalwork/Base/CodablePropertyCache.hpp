#pragma once

#include "Basalwork/Base/UserDefaults.hpp"
#include "Basalwork/Base/UserDefaultsPropertyCache.hpp"

namespace Basalwork {

struct CodableStorage {
    template <class Value>
    static std::optional<Value> read(const Foundation::UserDefaults& userDefaults, const Foundation::String& key)
    {
        return codableValue<Value>(userDefaults, key);
    }
    template <class Value>
    static void write(Foundation::UserDefaults& userDefaults, const Value& value, const Foundation::String& key)
    {
        setCodable(userDefaults, std::optional<Value>(value), key);
    }
};

// A setting stored as JSON data made by JSONCoder.shared.
template <Foundation::Codable Value>
using CodablePropertyCache = UserDefaultsPropertyCache<Value, CodableStorage>;

} // namespace Basalwork
