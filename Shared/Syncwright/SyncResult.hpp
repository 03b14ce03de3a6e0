#pragma once

#include <cstdint>

namespace Syncwright {

// How a sync that did not fail ended.
enum class SyncResult : std::int64_t {
    // It ran to its end: local changes were pushed and remote changes fetched and applied.
    synced = 0,
    // Nothing was synced: nobody is signed in, or the sync was cancelled or stopped.
    skipped = 1,
};

} // namespace Syncwright
