#pragma once

#include "Shared/EntriesVC.hpp"

#include <functional>
#include <memory>
#include <vector>

namespace Foundation {
class NSObject;
} // namespace Foundation

namespace Corvendale {

struct Dependencies;

// What the program adds to the item list screen for its two owners, the main list and the item picker.

// The configuration an owner starts from: the container's stores and authentication state, the filter's
// sort method, and what the list holds now (its search and selection mode). The owner sets the rest.
// Throws when the stores cannot answer.
Shared::EntriesVC::Config currentConfig(const Shared::EntriesVC& entriesVC, const Shared::EntryFilter& filter, const Dependencies& dependencies);

// The store changes the list follows, observed on the main queue: changed records, preferences and backup
// status while unlocked (animated), the safe-for-inspection mode switched on while unlocked (not
// animated), and a reset of all records whatever the lock (animated). Keep the tokens as long as the
// owner observes.
std::vector<std::shared_ptr<Foundation::NSObject>> observeStoreChanges(const Dependencies& dependencies, std::function<void(bool animated)> update);

} // namespace Corvendale
