#pragma once

#include "Platform/Foundation/OptionSet.hpp"

#include <cstdint>

namespace UIKit {

// Orientations a controller supports, as bits.
struct UIInterfaceOrientationMask : Foundation::OptionSet<UIInterfaceOrientationMask> {
    static constexpr UIInterfaceOrientationMask portrait() { return {1u << 1}; }
    static constexpr UIInterfaceOrientationMask portraitUpsideDown() { return {1u << 2}; }
    static constexpr UIInterfaceOrientationMask landscapeRight() { return {1u << 3}; }
    static constexpr UIInterfaceOrientationMask landscapeLeft() { return {1u << 4}; }
    static constexpr UIInterfaceOrientationMask landscape() { return landscapeLeft() | landscapeRight(); }
    static constexpr UIInterfaceOrientationMask all() { return portrait() | portraitUpsideDown() | landscape(); }
    static constexpr UIInterfaceOrientationMask allButUpsideDown() { return portrait() | landscape(); }
};

} // namespace UIKit
