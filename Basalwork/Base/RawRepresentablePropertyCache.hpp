#pragma once

#include "Basalwork/Base/UserDefaults.hpp"
#include "Basalwork/Base/UserDefaultsPropertyCache.hpp"

namespace Basalwork {

struct RawRepresentableStorage {
    template <class Value>
    static std::optional<Value> read(const Foundation::UserDefaults& userDefaults, const Foundation::String& key)
    {
        return rawRepresentableValue<Value>(userDefaults, key);
    }
    template <class Value>
    static void write(Foundation::UserDefaults& userDefaults, const Value& value, const Foundation::String& key)
    {
        setRawRepresentable(userDefaults, std::optional<Value>(value), key);
    }
};

// A setting stored as its raw value.
template <Foundation::RawRepresentable Value>
using RawRepresentablePropertyCache = UserDefaultsPropertyCache<Value, RawRepresentableStorage>;

} // namespace Basalwork
