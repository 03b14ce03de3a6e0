#pragma once

#include "Platform/Foundation/ClosedRange.hpp"

namespace Basalwork {

// The closed range between two bounds given in either order: the smaller ... the larger.
template <class Bound>
Foundation::ClosedRange<Bound> closedRange(const Bound& a, const Bound& b)
{
    return b < a ? Foundation::ClosedRange<Bound>(b, a) : Foundation::ClosedRange<Bound>(a, b);
}

} // namespace Basalwork
