#pragma once

#include "Platform/Foundation/String.hpp"

#include <compare>
#include <cstdint>
#include <string>

namespace CoreData {

// Names one object of one entity in a store. An object inserted in a context has a temporary ID until
// the context saves it; then it gets its permanent one, its row's key, which is never reused.
class NSManagedObjectID {
public:
    NSManagedObjectID() = default;
    NSManagedObjectID(Foundation::String entityName, std::int64_t primaryKey)
        : m_entityName(std::move(entityName))
        , m_primaryKey(primaryKey)
    {
    }
    static NSManagedObjectID makeTemporary(Foundation::String entityName);

    const Foundation::String& entityName() const { return m_entityName; }
    // The row's key for a permanent ID; a negative number unique in the process for a temporary one.
    std::int64_t primaryKey() const { return m_primaryKey; }
    bool isTemporaryID() const { return m_primaryKey < 0; }
    // "Entry/p12" for a permanent ID, "Entry/t3" for a temporary one.
    std::string description() const;

    friend bool operator==(const NSManagedObjectID& lhs, const NSManagedObjectID& rhs)
    {
        return lhs.m_primaryKey == rhs.m_primaryKey && lhs.m_entityName.utf8() == rhs.m_entityName.utf8();
    }
    friend std::strong_ordering operator<=>(const NSManagedObjectID& lhs, const NSManagedObjectID& rhs)
    {
        if (auto order = lhs.m_entityName.utf8() <=> rhs.m_entityName.utf8(); order != 0)
            return order;
        return lhs.m_primaryKey <=> rhs.m_primaryKey;
    }
    std::size_t hash() const;

private:
    Foundation::String m_entityName;
    std::int64_t m_primaryKey = 0;
};

} // namespace CoreData

template <>
struct std::hash<CoreData::NSManagedObjectID> {
    std::size_t operator()(const CoreData::NSManagedObjectID& id) const { return id.hash(); }
};
