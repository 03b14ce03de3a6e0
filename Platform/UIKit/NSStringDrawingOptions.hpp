#pragma once

#include "Platform/Foundation/OptionSet.hpp"

#include <cstdint>

namespace UIKit {

// How `boundingRect` lays text out: on lines within the given width from the top of the rectangle
// (`usesLineFragmentOrigin`), else on one line.
struct NSStringDrawingOptions : Foundation::OptionSet<NSStringDrawingOptions> {
    static constexpr NSStringDrawingOptions usesLineFragmentOrigin() { return {1 << 0}; }
    static constexpr NSStringDrawingOptions usesFontLeading() { return {1 << 1}; }
    static constexpr NSStringDrawingOptions usesDeviceMetrics() { return {1 << 3}; }
    static constexpr NSStringDrawingOptions truncatesLastVisibleLine() { return {1 << 5}; }
};

} // namespace UIKit
