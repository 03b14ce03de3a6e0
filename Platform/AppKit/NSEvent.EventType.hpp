#pragma once

#include "Platform/AppKit/NSEvent.hpp"

#include <cstdint>

namespace AppKit {

// The kinds of events, with the platform's raw values.
enum class NSEvent::EventType : std::int64_t {
    leftMouseDown = 1,
    leftMouseUp = 2,
    rightMouseDown = 3,
    rightMouseUp = 4,
    mouseMoved = 5,
    keyDown = 10,
    keyUp = 11,
};

} // namespace AppKit
