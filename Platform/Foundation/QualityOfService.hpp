#pragma once

#include <cstdint>

namespace Foundation {

// How important an operation queue's work is. Our worker pool has no priorities, so it is recorded only.
enum class QualityOfService : std::int64_t {
    userInteractive = 0x21,
    userInitiated = 0x19,
    utility = 0x11,
    background = 0x09,
    default_ = -1,
};

} // namespace Foundation
