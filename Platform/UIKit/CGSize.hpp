#pragma once

#include "Platform/UIKit/CGFloat.hpp"

namespace UIKit {

struct CGSize {
    CGFloat width = 0;
    CGFloat height = 0;

    static constexpr CGSize zero() { return {}; }

    friend constexpr bool operator==(const CGSize&, const CGSize&) = default;
};

} // namespace UIKit
