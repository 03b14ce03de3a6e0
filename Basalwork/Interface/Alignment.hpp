#pragma once

#include <cstdint>

namespace Basalwork {

// How the aligned flow layout moves the items of a line across it.
enum class HorizontalAlignment : std::int64_t { left, right, leading, trailing, justified };

// Where the items of a line meet: their tops, centres or bottoms.
enum class VerticalAlignment : std::int64_t { top, center, bottom };

} // namespace Basalwork
