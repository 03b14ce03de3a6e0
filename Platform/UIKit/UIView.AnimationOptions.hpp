#pragma once

#include "Platform/Foundation/OptionSet.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <cstdint>

namespace UIKit {

// Option bits of an animation; recorded only.
struct UIView::AnimationOptions : Foundation::OptionSet<UIView::AnimationOptions> {
    static constexpr AnimationOptions allowUserInteraction() { return {1u << 1}; }
    // The timing curve, a two-bit field; ease in and out when none is given.
    static constexpr AnimationOptions curveEaseInOut() { return {0u << 16}; }
    static constexpr AnimationOptions curveEaseIn() { return {1u << 16}; }
    static constexpr AnimationOptions curveEaseOut() { return {2u << 16}; }
    static constexpr AnimationOptions curveLinear() { return {3u << 16}; }
    static constexpr AnimationOptions transitionCrossDissolve() { return {5u << 20}; }
};

} // namespace UIKit
