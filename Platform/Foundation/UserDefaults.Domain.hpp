#pragma once

#include "Platform/Foundation/PropertyListValue.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/UserDefaults.hpp"

#include <map>
#include <memory>
#include <mutex>
#include <optional>

namespace Foundation {

// One persistent domain, shared by every UserDefaults object over it in the process: its values, read
// from its file on first use, and the changes that have not reached the file yet.
class UserDefaults::Domain {
public:
    // The one object for that name in this process. Names compare by their bytes: two spellings of a
    // name are two files.
    static std::shared_ptr<Domain> named(const String& name);
    explicit Domain(String name);

    std::optional<PropertyListValue> value(const String& key);
    Dictionary allValues();
    // Applies the change to what the file holds now, together with earlier changes that did not reach
    // it, and writes the result. False when the key was already as asked.
    bool change(const String& key, const std::optional<PropertyListValue>& newValue);
    // Forgets every key and removes the file.
    void removeAll();

private:
    void loadIfNeeded();

    const String m_name;
    std::mutex m_mutex;
    std::optional<Dictionary> m_values; // read from the file on first use
    std::map<String, std::optional<PropertyListValue>> m_unsaved; // nothing: a removal
};

} // namespace Foundation
