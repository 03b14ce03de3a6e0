#pragma once

#include <compare>
#include <string>

namespace Foundation {

// A point in time: seconds since 2001-01-01 00:00:00 UTC.
class Date {
public:
    constexpr Date() = default;
    constexpr explicit Date(double timeIntervalSinceReferenceDate)
        : m_seconds(timeIntervalSinceReferenceDate)
    {
    }
    static Date now();
    static constexpr Date distantPast() { return Date(-63114076800.0); }
    static constexpr Date distantFuture() { return Date(63113904000.0); }
    static constexpr double timeIntervalBetween1970AndReferenceDate = 978307200.0;
    static constexpr Date fromTimeIntervalSince1970(double seconds)
    {
        return Date(seconds - timeIntervalBetween1970AndReferenceDate);
    }

    constexpr double timeIntervalSinceReferenceDate() const { return m_seconds; }
    constexpr double timeIntervalSince1970() const { return m_seconds + timeIntervalBetween1970AndReferenceDate; }
    constexpr double timeIntervalSince(Date other) const { return m_seconds - other.m_seconds; }
    double timeIntervalSinceNow() const;
    constexpr Date addingTimeInterval(double seconds) const { return Date(m_seconds + seconds); }

    // "2001-01-01 00:00:00 +0000", as the platform prints a date.
    std::string description() const;

    friend constexpr Date operator+(Date date, double seconds) { return date.addingTimeInterval(seconds); }
    friend constexpr Date operator-(Date date, double seconds) { return date.addingTimeInterval(-seconds); }
    friend constexpr double operator-(Date lhs, Date rhs) { return lhs.timeIntervalSince(rhs); }
    friend constexpr auto operator<=>(const Date&, const Date&) = default;

private:
    double m_seconds = 0;
};

} // namespace Foundation
