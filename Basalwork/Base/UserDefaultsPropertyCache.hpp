#pragma once

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/UserDefaults.hpp"

#include <memory>
#include <optional>
#include <utility>

namespace Basalwork {

// One setting held in memory in front of user defaults; `Storage` says how it is read and written
// (`read<Value>(userDefaults, key)`, `write(userDefaults, value, key)`). The first read or write fills
// the cache and nothing empties it: later changes to the key by any other path are not seen by this
// instance. Not locked: keep an instance to one thread at a time.
template <class Value, class Storage>
class UserDefaultsPropertyCache : public Foundation::NSObject {
public:
    // The stored value, or the default when nothing usable is stored; either way it is cached.
    Value value() const
    {
        if (!m_cached)
            m_cached = Storage::template read<Value>(*m_userDefaults, m_key).value_or(m_defaultValue);
        return *m_cached;
    }
    // Cached whatever the write's outcome.
    void setValue(Value newValue)
    {
        Storage::write(*m_userDefaults, newValue, m_key);
        m_cached = std::move(newValue);
    }

protected:
    friend Foundation::Construct;
    // Does not touch user defaults.
    UserDefaultsPropertyCache(std::shared_ptr<Foundation::UserDefaults> userDefaults, Foundation::String key, Value defaultValue)
        : m_userDefaults(std::move(userDefaults))
        , m_key(std::move(key))
        , m_defaultValue(std::move(defaultValue))
    {
        Foundation::precondition(m_userDefaults != nullptr, "A property cache needs user defaults");
    }

private:
    std::shared_ptr<Foundation::UserDefaults> m_userDefaults;
    Foundation::String m_key;
    Value m_defaultValue;
    mutable std::optional<Value> m_cached;
};

} // namespace Basalwork
