#pragma once

#include "Platform/AppKit/NSEvent.hpp"

#include <cstdint>

namespace AppKit {

// A set of event kinds: bit n stands for the kind whose raw value is n.
struct NSEvent::EventTypeMask {
    std::uint64_t rawValue = 0;

    static constexpr EventTypeMask of(EventType type) { return {std::uint64_t {1} << static_cast<std::int64_t>(type)}; }
    static constexpr EventTypeMask leftMouseDown() { return {std::uint64_t {1} << 1}; }
    static constexpr EventTypeMask leftMouseUp() { return {std::uint64_t {1} << 2}; }
    static constexpr EventTypeMask rightMouseDown() { return {std::uint64_t {1} << 3}; }
    static constexpr EventTypeMask rightMouseUp() { return {std::uint64_t {1} << 4}; }
    static constexpr EventTypeMask mouseMoved() { return {std::uint64_t {1} << 5}; }
    static constexpr EventTypeMask keyDown() { return {std::uint64_t {1} << 10}; }
    static constexpr EventTypeMask keyUp() { return {std::uint64_t {1} << 11}; }

    constexpr bool contains(EventTypeMask other) const { return (rawValue & other.rawValue) == other.rawValue; }
    constexpr bool covers(EventType type) const { return contains(of(type)); }
    friend constexpr EventTypeMask operator|(EventTypeMask lhs, EventTypeMask rhs) { return {lhs.rawValue | rhs.rawValue}; }
    friend constexpr bool operator==(EventTypeMask, EventTypeMask) = default;
};

} // namespace AppKit
