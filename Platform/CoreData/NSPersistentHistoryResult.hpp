#pragma once

#include "Platform/CoreData/NSPersistentHistoryChange.hpp"
#include "Platform/CoreData/NSPersistentHistoryToken.hpp"

#include <vector>

namespace CoreData {

// What a history request read: the changes in the order they were saved (none for a deletion), and the
// token of the last of them (the request's own when there were none), to read after next time.
struct NSPersistentHistoryResult {
    std::vector<NSPersistentHistoryChange> changes;
    NSPersistentHistoryToken token;
};

} // namespace CoreData
