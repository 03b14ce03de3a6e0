#pragma once

#include "Platform/Foundation/DateFormatter.hpp"

namespace Foundation {

// How much of a date or a time the locale's own pattern shows, in the platform's order.
enum class DateFormatter::Style {
    none,
    short_,
    medium,
    long_,
    full,
};

} // namespace Foundation
