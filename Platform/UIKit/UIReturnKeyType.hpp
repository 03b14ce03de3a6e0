#pragma once

#include <cstdint>

namespace UIKit {

// The title of the keyboard's return key; recorded.
enum class UIReturnKeyType : std::int64_t {
    default_,
    go,
    google,
    join,
    next,
    route,
    search,
    send,
    yahoo,
    done,
    emergencyCall,
    continue_,
};

} // namespace UIKit
