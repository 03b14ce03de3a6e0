#pragma once

#include "Basalwork/Interface/UIView.hpp"

#include <cstdint>

namespace Basalwork {

// Where new content comes from in `performAnimatedLayoutUpdate`.
enum class UIView::AnimationDirection : std::uint8_t {
    none,
    fromTop,
    fromBottom,
};

} // namespace Basalwork
