#pragma once

#include <compare>

namespace Foundation {

// A deadline on the monotonic clock, in seconds.
struct DispatchTime {
    double uptime = 0;

    static DispatchTime now();
    static constexpr DispatchTime distantFuture() { return {1e300}; }

    friend DispatchTime operator+(DispatchTime time, double seconds) { return {time.uptime + seconds}; }
    friend DispatchTime operator-(DispatchTime time, double seconds) { return {time.uptime - seconds}; }
    friend auto operator<=>(const DispatchTime&, const DispatchTime&) = default;
};

enum class DispatchTimeoutResult { success, timedOut };

} // namespace Foundation
