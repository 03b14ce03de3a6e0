#pragma once

#include "Platform/UIKit/UIViewPropertyAnimator.hpp"

#include <cstdint>

namespace Basalwork {

// Types the kit nests in the animator type.
struct UIViewPropertyAnimator {
    enum class AnimationState : std::uint8_t {
        running,
        paused,
        readyForAnimations,
        finished,
    };
};

// One state that tells a running animator from a paused one.
UIViewPropertyAnimator::AnimationState animationState(const UIKit::UIViewPropertyAnimator& animator);

} // namespace Basalwork
