#include "Platform/Foundation/Clock.hpp"

#include "Platform/Foundation/FatalError.hpp"

#include <atomic>
#include <chrono>
#include <mutex>

namespace Foundation {
namespace {

constexpr double secondsFrom1970To2001 = 978307200.0;

struct ManualState {
    std::mutex mutex;
    bool manual = false;
    double date = 0;
    double uptime = 0;
};

ManualState& state()
{
    static auto* instance = new ManualState; // never destroyed: worker threads may read it at exit
    return *instance;
}

double realUptime()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

double Clock::now()
{
    auto& s = state();
    {
        std::lock_guard lock(s.mutex);
        if (s.manual)
            return s.date;
    }
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count() - secondsFrom1970To2001;
}

double Clock::uptime()
{
    auto& s = state();
    {
        std::lock_guard lock(s.mutex);
        if (s.manual)
            return s.uptime;
    }
    return realUptime();
}

bool Clock::isManual()
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    return s.manual;
}

void Clock::useManual(double date)
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    if (!s.manual)
        s.uptime = realUptime();
    s.manual = true;
    s.date = date;
}

void Clock::useReal()
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.manual = false;
}

void Clock::advance(double seconds)
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    precondition(s.manual, "Clock::advance needs the manual clock");
    precondition(seconds >= 0, "Clock::advance cannot go back in time");
    s.date += seconds;
    s.uptime += seconds;
}

} // namespace Foundation
