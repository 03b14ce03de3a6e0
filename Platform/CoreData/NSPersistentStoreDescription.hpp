#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <optional>

namespace CoreData {

inline constexpr const char* NSSQLiteStoreType = "SQLite";
inline constexpr const char* NSInMemoryStoreType = "InMemory";

// Where and how to open a store: an SQLite file at a URL, or a store in memory (the in-memory type, or a
// URL whose last component is ":memory:" or that is /dev/null), which lives as long as its coordinator.
// `timeout` is how many seconds a save or an open waits for another process's lock before it fails.
class NSPersistentStoreDescription {
public:
    NSPersistentStoreDescription() = default;
    explicit NSPersistentStoreDescription(Foundation::URL url)
        : m_url(std::move(url))
    {
    }

    const Foundation::String& type() const { return m_type; }
    void setType(Foundation::String type) { m_type = std::move(type); }
    const std::optional<Foundation::URL>& url() const { return m_url; }
    void setURL(std::optional<Foundation::URL> url) { m_url = std::move(url); }
    double timeout() const { return m_timeout; }
    void setTimeout(double seconds) { m_timeout = seconds; }
    // The store keeps a history of every change saved to it, by any process, so that a reader can learn
    // what others changed since it last looked (NSPersistentHistoryChangeRequest).
    bool persistentHistoryTracking() const { return m_persistentHistoryTracking; }
    void setPersistentHistoryTracking(bool tracking) { m_persistentHistoryTracking = tracking; }

    bool isInMemory() const;

private:
    Foundation::String m_type = NSSQLiteStoreType;
    std::optional<Foundation::URL> m_url;
    double m_timeout = 10;
    bool m_persistentHistoryTracking = false;
};

} // namespace CoreData
