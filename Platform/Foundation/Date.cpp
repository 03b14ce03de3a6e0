#include "Platform/Foundation/Date.hpp"

#include "Platform/Foundation/Clock.hpp"

#include <cmath>
#include <ctime>

namespace Foundation {

Date Date::now()
{
    return Date(Clock::now());
}

double Date::timeIntervalSinceNow() const
{
    return m_seconds - Clock::now();
}

std::string Date::description() const
{
    auto seconds = static_cast<std::time_t>(std::floor(timeIntervalSince1970()));
    std::tm parts {};
    gmtime_r(&seconds, &parts);
    char text[64];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S +0000", &parts);
    return text;
}

} // namespace Foundation
