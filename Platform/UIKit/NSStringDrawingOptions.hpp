#pragma once

#include <cstdint>

namespace UIKit {

// How `boundingRect` lays text out: on lines within the given width from the top of the rectangle
// (`usesLineFragmentOrigin`), else on one line.
struct NSStringDrawingOptions {
    std::uint64_t rawValue = 0;

    static constexpr NSStringDrawingOptions usesLineFragmentOrigin() { return {1 << 0}; }
    static constexpr NSStringDrawingOptions usesFontLeading() { return {1 << 1}; }
    static constexpr NSStringDrawingOptions usesDeviceMetrics() { return {1 << 3}; }
    static constexpr NSStringDrawingOptions truncatesLastVisibleLine() { return {1 << 5}; }

    constexpr bool contains(NSStringDrawingOptions other) const { return (rawValue & other.rawValue) == other.rawValue; }
    friend constexpr NSStringDrawingOptions operator|(NSStringDrawingOptions lhs, NSStringDrawingOptions rhs)
    {
        return {lhs.rawValue | rhs.rawValue};
    }
    friend constexpr bool operator==(const NSStringDrawingOptions&, const NSStringDrawingOptions&) = default;
};

} // namespace UIKit
