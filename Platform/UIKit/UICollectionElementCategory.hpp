#pragma once

#include <cstdint>

namespace UIKit {

// What a set of layout attributes stands for.
enum class UICollectionElementCategory : std::int64_t {
    cell = 0,
    supplementaryView = 1,
    decorationView = 2,
};

} // namespace UIKit
