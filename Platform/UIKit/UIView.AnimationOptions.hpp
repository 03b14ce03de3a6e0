#pragma once

#include "Platform/UIKit/UIView.hpp"

#include <cstdint>

namespace UIKit {

// Option bits of an animation; recorded only.
struct UIView::AnimationOptions {
    std::uint64_t rawValue = 0;

    friend bool operator==(const AnimationOptions&, const AnimationOptions&) = default;
};

} // namespace UIKit
