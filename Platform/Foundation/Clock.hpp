#pragma once

namespace Foundation {

// The one source of time for dates, dispatch deadlines, timers and animations. Programs run on the real
// clock; tests switch to the manual clock and move it forward themselves, so nothing waits for real time.
class Clock {
public:
    // Seconds since 2001-01-01 00:00:00 UTC.
    static double now();
    // Monotonic seconds; deadlines are measured on this.
    static double uptime();

    static bool isManual();
    // Switches to the manual clock, reading `date` (seconds since 2001) from now on; uptime stands still
    // until advanced.
    static void useManual(double date);
    static void useReal();
    // Moves the manual clock forward. Running what falls due is the run loop's business.
    static void advance(double seconds);
};

} // namespace Foundation
