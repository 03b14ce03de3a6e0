#pragma once

#include <cstdint>
#include <optional>

namespace Foundation {

// The answers of `URL::resourceValues`: a value is present only when it was asked for and the item has
// one.
struct URLResourceValues {
    // Regular files only: a directory or a device has no size of its own.
    std::optional<std::int64_t> fileSize;
};

} // namespace Foundation
