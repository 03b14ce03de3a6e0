#pragma once

#include <compare>
#include <cstdint>

namespace CoreData {

// A place in a store's history of changes: everything saved up to it. Later tokens compare greater.
class NSPersistentHistoryToken {
public:
    NSPersistentHistoryToken() = default;
    explicit NSPersistentHistoryToken(std::int64_t stamp)
        : m_stamp(stamp)
    {
    }

    std::int64_t stamp() const { return m_stamp; }
    friend auto operator<=>(const NSPersistentHistoryToken&, const NSPersistentHistoryToken&) = default;

private:
    std::int64_t m_stamp = 0;
};

} // namespace CoreData
