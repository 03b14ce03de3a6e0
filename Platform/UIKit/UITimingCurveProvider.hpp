#pragma once

#include "Platform/UIKit/CGFloat.hpp"

#include <cstdint>
#include <optional>

namespace UIKit {

// The pace of an animation, recorded: a named curve, or a spring given by its damping ratio.
struct UITimingCurveProvider {
    enum class Curve : std::int64_t {
        easeInOut = 0,
        easeIn = 1,
        easeOut = 2,
        linear = 3,
    };

    std::optional<Curve> curve;
    std::optional<CGFloat> dampingRatio;

    static UITimingCurveProvider cubic(Curve curve) { return {curve, std::nullopt}; }
    static UITimingCurveProvider spring(CGFloat dampingRatio) { return {std::nullopt, dampingRatio}; }
};

} // namespace UIKit
