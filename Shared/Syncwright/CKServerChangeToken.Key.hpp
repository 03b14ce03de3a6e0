#pragma once

#include <cstdint>

namespace Syncwright {

// What the delegate keeps change tokens under: `CKServerChangeToken::Key`.
struct CKServerChangeToken {
    enum class Key : std::int64_t {
        // Where the fetch of the private database's changed and deleted zones got to.
        privateDatabase = 0,
        // Where the fetch of the custom zone's changed and deleted records got to.
        customRecordZone = 1,
    };
};

} // namespace Syncwright
