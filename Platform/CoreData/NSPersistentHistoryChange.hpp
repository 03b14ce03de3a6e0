#pragma once

#include "Platform/CoreData/NSManagedObjectID.hpp"
#include "Platform/CoreData/Value.hpp"

#include <map>
#include <string>

namespace CoreData {

// One object inserted, updated or deleted by a save of any context or process, as the store's history
// keeps it.
struct NSPersistentHistoryChange {
    enum class ChangeType { insert, update, delete_ };

    NSManagedObjectID changedObjectID;
    ChangeType changeType = ChangeType::insert;
    // Saved through this coordinator's store (any of its contexts), not by another process or
    // coordinator.
    bool isLocal = false;
    // For a deletion, the values of the object's attributes that keep theirs in the history
    // (NSAttributeDescription::preservesValueInHistoryOnDeletion), by name.
    std::map<std::string, Value> tombstone;
};

} // namespace CoreData
