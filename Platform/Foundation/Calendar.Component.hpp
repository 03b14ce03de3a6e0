#pragma once

#include "Platform/Foundation/Calendar.hpp"

namespace Foundation {

// The calendar fields our code reads and does arithmetic in, largest first.
enum class Calendar::Component {
    year,
    month,
    day,
    hour,
    minute,
    second,
};

} // namespace Foundation
