#pragma once

#include <cstdint>

namespace UIKit {

// Whether misspellings are marked; recorded.
enum class UITextSpellCheckingType : std::int64_t {
    default_,
    no,
    yes,
};

} // namespace UIKit
