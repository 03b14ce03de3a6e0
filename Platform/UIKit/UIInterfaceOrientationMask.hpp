#pragma once

#include <cstdint>

namespace UIKit {

// Orientations a controller supports, as bits.
struct UIInterfaceOrientationMask {
    std::uint64_t rawValue = 0;

    static constexpr UIInterfaceOrientationMask portrait() { return {1u << 1}; }
    static constexpr UIInterfaceOrientationMask portraitUpsideDown() { return {1u << 2}; }
    static constexpr UIInterfaceOrientationMask landscapeRight() { return {1u << 3}; }
    static constexpr UIInterfaceOrientationMask landscapeLeft() { return {1u << 4}; }
    static constexpr UIInterfaceOrientationMask landscape() { return {landscapeLeft().rawValue | landscapeRight().rawValue}; }
    static constexpr UIInterfaceOrientationMask all()
    {
        return {portrait().rawValue | portraitUpsideDown().rawValue | landscape().rawValue};
    }
    static constexpr UIInterfaceOrientationMask allButUpsideDown()
    {
        return {portrait().rawValue | landscape().rawValue};
    }

    friend constexpr bool operator==(UIInterfaceOrientationMask, UIInterfaceOrientationMask) = default;
};

} // namespace UIKit
