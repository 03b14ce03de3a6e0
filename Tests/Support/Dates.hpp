#pragma once

#include "Platform/Foundation/Date.hpp"

#include <ctime>

namespace TestSupport {

// A moment written in UTC, worked out by the C library so that calendar code is not checked against
// itself.
inline Foundation::Date utc(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    std::tm parts {};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    return Foundation::Date::fromTimeIntervalSince1970(static_cast<double>(timegm(&parts)));
}

} // namespace TestSupport
