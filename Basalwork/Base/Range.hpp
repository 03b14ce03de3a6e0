#pragma once

#include "Platform/Foundation/Range.hpp"

namespace Basalwork {

// The half-open range between two bounds given in either order: the smaller ..< the larger.
template <class Bound>
Foundation::Range<Bound> range(const Bound& a, const Bound& b)
{
    return b < a ? Foundation::Range<Bound>(b, a) : Foundation::Range<Bound>(a, b);
}

} // namespace Basalwork
