#pragma once

#include <cstdint>

namespace UIKit {

// Whether typing is corrected as it goes; recorded.
enum class UITextAutocorrectionType : std::int64_t {
    default_,
    no,
    yes,
};

} // namespace UIKit
