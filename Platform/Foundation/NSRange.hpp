#pragma once

#include <cstdint>

namespace Foundation {

// A run of text as the platform counts it: a start and a length in UTF-16 code units.
struct NSRange {
    std::int64_t location = 0;
    std::int64_t length = 0;

    friend bool operator==(const NSRange&, const NSRange&) = default;
};

} // namespace Foundation
