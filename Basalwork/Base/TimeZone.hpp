#pragma once

#include "Platform/Foundation/TimeZone.hpp"

namespace Basalwork {

// Zones the system names often, each made once and handed out as a copy.
struct TimeZones {
    static Foundation::TimeZone gmt();
    static Foundation::TimeZone utc();
    static Foundation::TimeZone winnipeg();
};

} // namespace Basalwork
