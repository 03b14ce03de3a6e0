#pragma once

#include <cstdint>

namespace UIKit {

// How text that does not fit on a line goes on: wrapped at words or characters, or cut at the end of
// the line with "…" where the truncation mode puts it.
enum class NSLineBreakMode : std::int64_t {
    byWordWrapping = 0,
    byCharWrapping = 1,
    byClipping = 2,
    byTruncatingHead = 3,
    byTruncatingTail = 4,
    byTruncatingMiddle = 5,
};

} // namespace UIKit
