#pragma once

#include "Platform/UIKit/UIView.hpp"

#include <cstdint>

namespace UIKit {

// Option bits of an animation; recorded only.
struct UIView::AnimationOptions {
    std::uint64_t rawValue = 0;

    static constexpr AnimationOptions allowUserInteraction() { return {1u << 1}; }
    static constexpr AnimationOptions transitionCrossDissolve() { return {5u << 20}; }

    friend constexpr AnimationOptions operator|(AnimationOptions lhs, AnimationOptions rhs)
    {
        return {lhs.rawValue | rhs.rawValue};
    }

    friend bool operator==(const AnimationOptions&, const AnimationOptions&) = default;
};

} // namespace UIKit
