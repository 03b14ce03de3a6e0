#pragma once

#include "Platform/Foundation/Decimal.hpp"

namespace Basalwork {

// The nearest double to the decimal's exact value. Every decimal lies within a double's range.
double doubleValue(const Foundation::Decimal& decimal);

} // namespace Basalwork
