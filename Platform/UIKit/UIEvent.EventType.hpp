#pragma once

#include "Platform/UIKit/UIEvent.hpp"

namespace UIKit {

enum class UIEvent::EventType : std::int64_t {
    touches = 0,
    motion = 1,
    remoteControl = 2,
    presses = 3,
    scroll = 10,
    hover = 11,
    transform = 14,
};

} // namespace UIKit
