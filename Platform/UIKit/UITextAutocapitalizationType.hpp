#pragma once

#include <cstdint>

namespace UIKit {

// Which letters the keyboard capitalises on its own; recorded.
enum class UITextAutocapitalizationType : std::int64_t {
    none,
    words,
    sentences,
    allCharacters,
};

} // namespace UIKit
