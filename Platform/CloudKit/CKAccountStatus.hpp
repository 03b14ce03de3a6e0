#pragma once

#include <cstdint>

namespace CloudKit {

enum class CKAccountStatus : std::int64_t {
    couldNotDetermine = 0,
    available = 1,
    restricted = 2,
    noAccount = 3,
    temporarilyUnavailable = 4,
};

} // namespace CloudKit
