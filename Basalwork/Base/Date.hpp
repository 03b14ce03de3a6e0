#pragma once

#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/TimeZone.hpp"

#include <algorithm>
#include <concepts>
#include <cstdint>
#include <iterator>
#include <optional>
#include <ranges>

// Date operations in the current calendar (Foundation::Calendar::current()). Where that calendar cannot
// place a date or a result (not-a-number, or millions of years away), dates come back unchanged and
// differences count 0, so a corrupt stored date never stops the program.

namespace Basalwork {

// Type-level dates and initialisers of Date.
struct Dates {
    static Foundation::Date startOfToday();
    // Now with minutes, seconds and fractions cut; in the hour the clocks repeat, the pass now is in.
    static Foundation::Date startOfCurrentHour();
    // init?(year:month:day:hour:minute:second:timeZone:): nothing when those fields name no moment, such
    // as 30 February or a time the clocks skip; fields are not rolled over into the next unit.
    static std::optional<Foundation::Date> withYear(std::int64_t year, std::int64_t month, std::int64_t day, std::int64_t hour,
                                                    std::int64_t minute, std::int64_t second, const Foundation::TimeZone& timeZone);
    // init(millisecondsSince1970:)
    static Foundation::Date withMillisecondsSince1970(double milliseconds);
    template <std::integral Integer>
    static Foundation::Date withMillisecondsSince1970(Integer milliseconds)
    {
        return withMillisecondsSince1970(static_cast<double>(milliseconds));
    }
    // The whole text as the C library reads a floating-point number in the C locale: no leading white
    // space, nothing left over. Counts that are no moment (not-a-number, infinite) or that
    // millisecondsSince1970 could not give back fail too.
    static std::optional<Foundation::Date> withMillisecondsSince1970(const Foundation::String& milliseconds);
};

Foundation::Date startOfDay(const Foundation::Date& date);
// Rounded to the nearest millisecond, halves away from zero. The date must be one that
// Dates::withMillisecondsSince1970 accepts; others stop the program.
std::int64_t millisecondsSince1970(const Foundation::Date& date);
bool isRepresentableInMillisecondsSince1970(const Foundation::Date& date);

// isBetween(_:and:daysFrom:): the whole days from `daysFrom` to `date` lie in lower ..< upper.
bool isBetween(const Foundation::Date& date, std::int64_t lower, std::int64_t and_, const Foundation::Date& daysFrom);

// Calendar arithmetic, carrying into larger units. Hours, minutes and seconds are elapsed time; days keep
// the time of day across a change of the clocks.
Foundation::Date addingYears(const Foundation::Date& date, std::int64_t years);
Foundation::Date addingMonths(const Foundation::Date& date, std::int64_t months);
Foundation::Date addingDays(const Foundation::Date& date, std::int64_t days);
Foundation::Date addingHours(const Foundation::Date& date, std::int64_t hours);
Foundation::Date addingMinutes(const Foundation::Date& date, std::int64_t minutes);
Foundation::Date addingSeconds(const Foundation::Date& date, std::int64_t seconds);
Foundation::Date subtractingYears(const Foundation::Date& date, std::int64_t years);
Foundation::Date subtractingMonths(const Foundation::Date& date, std::int64_t months);
Foundation::Date subtractingDays(const Foundation::Date& date, std::int64_t days);
Foundation::Date subtractingHours(const Foundation::Date& date, std::int64_t hours);
Foundation::Date subtractingMinutes(const Foundation::Date& date, std::int64_t minutes);
Foundation::Date subtractingSeconds(const Foundation::Date& date, std::int64_t seconds);

bool isSameDay(const Foundation::Date& date, const Foundation::Date& as);
bool isToday(const Foundation::Date& date);

// Whole units from `date` to `until`, toward zero; negative when `until` lies earlier.
std::int64_t numberOfDays(const Foundation::Date& date, const Foundation::Date& until);
std::int64_t numberOfHours(const Foundation::Date& date, const Foundation::Date& until);
std::int64_t numberOfMinutes(const Foundation::Date& date, const Foundation::Date& until);
std::int64_t numberOfSeconds(const Foundation::Date& date, const Foundation::Date& until);
// numberOfHours(aheadOf:): whole hours from `aheadOf` to `date`.
std::int64_t numberOfHoursAheadOf(const Foundation::Date& date, const Foundation::Date& aheadOf);

// The largest non-zero unit from `date` to `until`: "3 days", "1 hours", "-2 minutes", "0 seconds".
Foundation::String interval(const Foundation::Date& date, const Foundation::Date& until);

std::optional<std::int64_t> monthComponent(const Foundation::Date& date);
std::optional<std::int64_t> yearComponent(const Foundation::Date& date);
// Positive for a date still to come.
double timeIntervalToNow(const Foundation::Date& date);

// The latest of the dates, or nothing for none.
template <std::ranges::input_range R>
    requires std::same_as<std::ranges::range_value_t<R>, Foundation::Date>
std::optional<Foundation::Date> mostRecent(R&& dates)
{
    auto first = std::ranges::begin(dates);
    auto last = std::ranges::end(dates);
    if (first == last)
        return std::nullopt;
    Foundation::Date latest = *first;
    for (++first; first != last; ++first) {
        if (latest < *first)
            latest = *first;
    }
    return latest;
}

} // namespace Basalwork
