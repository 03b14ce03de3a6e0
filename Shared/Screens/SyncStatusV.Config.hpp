#pragma once

#include "Shared/Screens/SyncStatusV.hpp"

#include "Platform/Foundation/String.hpp"

#include <optional>

namespace Syncwright {
class SyncStatus;
}

namespace Shared {

// What the sync status view shows for one status.
struct SyncStatusVConfig {
    Foundation::String titleText;
    std::optional<Foundation::String> messageText;
    // "Last synced …", when a sync has succeeded.
    std::optional<Foundation::String> lastSyncText;
    // The action button's title; none hides it.
    std::optional<Foundation::String> actionTitle;
    bool isActionDestructive = false;
    bool showsActivity = false;

    // init(syncStatus:)
    static SyncStatusVConfig make(const Syncwright::SyncStatus& syncStatus);

    friend bool operator==(const SyncStatusVConfig&, const SyncStatusVConfig&) = default;
};

} // namespace Shared
