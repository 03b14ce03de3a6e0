#pragma once

#include "Shared/Screens/EntriesVC.hpp"

#include <functional>
#include <memory>
#include <vector>

namespace Foundation {
class NSObject;
} // namespace Foundation

namespace UIKit {
class UIViewController;
} // namespace UIKit

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

// autoSelectSearchIfNeeded(): while unlocked, with the search-focus preference on and nothing presented
// over `owner`, and once `mayProceed` agrees (the main list focuses once per unlock), focuses the list's
// search field on a later turn of the main queue, but only when the store holds items.
void autoSelectSearchIfNeeded(const UIKit::UIViewController& owner, const std::shared_ptr<Shared::EntriesVC>& entriesVC,
                              const Dependencies& dependencies, const std::function<bool()>& mayProceed = {});

} // namespace Corvendale
