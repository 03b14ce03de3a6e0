#pragma once

namespace Basalwork {

// Exact comparisons, with no tolerance; false when either side is not a number.
constexpr bool isGreaterThanOrEqualTo(double value, double other)
{
    return value >= other;
}

constexpr bool isLessThanOrEqualTo(double value, double other)
{
    return value <= other;
}

} // namespace Basalwork
