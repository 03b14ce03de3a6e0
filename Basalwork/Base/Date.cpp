#include "Basalwork/Base/Date.hpp"

#include "Platform/Foundation/Calendar.hpp"
#include "Platform/Foundation/DateComponents.hpp"
#include "Platform/Foundation/FatalError.hpp"

#include <cmath>
#include <limits>
#include <string>

namespace Basalwork {
namespace {

using Foundation::Calendar;
using Component = Foundation::Calendar::Component;

constexpr double millisecondsPerSecond = 1000.0;
// 2^63: the first count past what a signed 64-bit integer holds.
constexpr double int64Limit = 9223372036854775808.0;

Foundation::Date adding(const Foundation::Date& date, Component component, std::int64_t value)
{
    return Calendar::current().date(component, value, date).value_or(date);
}

Foundation::Date subtracting(const Foundation::Date& date, Component component, std::int64_t value)
{
    // The most negative count has no negation; its result lies beyond every calendar anyway.
    if (value == std::numeric_limits<std::int64_t>::min())
        return date;
    return adding(date, component, -value);
}

std::int64_t difference(Component component, const Foundation::Date& from, const Foundation::Date& to)
{
    return Calendar::current().dateComponents({component}, from, to).value(component).value_or(0);
}

} // namespace

Foundation::Date Dates::startOfToday()
{
    return startOfDay(Foundation::Date::now());
}

// Cutting elapsed minutes and seconds, rather than rebuilding the date from its year, month, day and hour,
// keeps the answer in the right pass of an hour that the clocks repeat.
Foundation::Date Dates::startOfCurrentHour()
{
    Foundation::Date now = Foundation::Date::now();
    auto components = Calendar::current().dateComponents({Component::minute, Component::second}, now);
    if (!components.minute || !components.second)
        return now;
    double seconds = now.timeIntervalSinceReferenceDate();
    double fraction = seconds - std::floor(seconds);
    return now - (static_cast<double>(*components.minute * 60 + *components.second) + fraction);
}

std::optional<Foundation::Date> Dates::withYear(std::int64_t year, std::int64_t month, std::int64_t day, std::int64_t hour,
                                                std::int64_t minute, std::int64_t second, const Foundation::TimeZone& timeZone)
{
    Foundation::DateComponents components {timeZone, year, month, day, hour, minute, second};
    Calendar calendar = Calendar::current();
    auto date = calendar.date(components);
    if (!date)
        return std::nullopt;
    // The calendar reads fields leniently (30 February is 2 March); a date that does not read back as the
    // same fields is not the one asked for.
    calendar.setTimeZone(timeZone);
    auto back = calendar.dateComponents(
        {Component::year, Component::month, Component::day, Component::hour, Component::minute, Component::second}, *date);
    back.timeZone = timeZone;
    if (back != components)
        return std::nullopt;
    return date;
}

Foundation::Date Dates::withMillisecondsSince1970(double milliseconds)
{
    return Foundation::Date::fromTimeIntervalSince1970(milliseconds / millisecondsPerSecond);
}

std::optional<Foundation::Date> Dates::withMillisecondsSince1970(const Foundation::String& milliseconds)
{
    auto value = Foundation::parseDouble(milliseconds.view());
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    Foundation::Date date = withMillisecondsSince1970(*value);
    if (!isRepresentableInMillisecondsSince1970(date))
        return std::nullopt;
    return date;
}

Foundation::Date startOfDay(const Foundation::Date& date)
{
    return Calendar::current().startOfDay(date);
}

bool isRepresentableInMillisecondsSince1970(const Foundation::Date& date)
{
    double milliseconds = std::round(date.timeIntervalSince1970() * millisecondsPerSecond);
    return milliseconds >= -int64Limit && milliseconds < int64Limit;
}

std::int64_t millisecondsSince1970(const Foundation::Date& date)
{
    Foundation::precondition(isRepresentableInMillisecondsSince1970(date), "Date has no count of milliseconds since 1970");
    return static_cast<std::int64_t>(std::round(date.timeIntervalSince1970() * millisecondsPerSecond));
}

bool isBetween(const Foundation::Date& date, std::int64_t lower, std::int64_t and_, const Foundation::Date& daysFrom)
{
    std::int64_t days = numberOfDays(daysFrom, date);
    return lower <= days && days < and_;
}

Foundation::Date addingYears(const Foundation::Date& date, std::int64_t years) { return adding(date, Component::year, years); }
Foundation::Date addingMonths(const Foundation::Date& date, std::int64_t months) { return adding(date, Component::month, months); }
Foundation::Date addingDays(const Foundation::Date& date, std::int64_t days) { return adding(date, Component::day, days); }
Foundation::Date addingHours(const Foundation::Date& date, std::int64_t hours) { return adding(date, Component::hour, hours); }
Foundation::Date addingMinutes(const Foundation::Date& date, std::int64_t minutes) { return adding(date, Component::minute, minutes); }
Foundation::Date addingSeconds(const Foundation::Date& date, std::int64_t seconds) { return adding(date, Component::second, seconds); }

Foundation::Date subtractingYears(const Foundation::Date& date, std::int64_t years) { return subtracting(date, Component::year, years); }
Foundation::Date subtractingMonths(const Foundation::Date& date, std::int64_t months) { return subtracting(date, Component::month, months); }
Foundation::Date subtractingDays(const Foundation::Date& date, std::int64_t days) { return subtracting(date, Component::day, days); }
Foundation::Date subtractingHours(const Foundation::Date& date, std::int64_t hours) { return subtracting(date, Component::hour, hours); }
Foundation::Date subtractingMinutes(const Foundation::Date& date, std::int64_t minutes) { return subtracting(date, Component::minute, minutes); }
Foundation::Date subtractingSeconds(const Foundation::Date& date, std::int64_t seconds) { return subtracting(date, Component::second, seconds); }

bool isSameDay(const Foundation::Date& date, const Foundation::Date& as)
{
    return Calendar::current().isDate(date, as);
}

bool isToday(const Foundation::Date& date)
{
    return isSameDay(date, Foundation::Date::now());
}

std::int64_t numberOfDays(const Foundation::Date& date, const Foundation::Date& until) { return difference(Component::day, date, until); }
std::int64_t numberOfHours(const Foundation::Date& date, const Foundation::Date& until) { return difference(Component::hour, date, until); }
std::int64_t numberOfMinutes(const Foundation::Date& date, const Foundation::Date& until) { return difference(Component::minute, date, until); }
std::int64_t numberOfSeconds(const Foundation::Date& date, const Foundation::Date& until) { return difference(Component::second, date, until); }

std::int64_t numberOfHoursAheadOf(const Foundation::Date& date, const Foundation::Date& aheadOf)
{
    return difference(Component::hour, aheadOf, date);
}

Foundation::String interval(const Foundation::Date& date, const Foundation::Date& until)
{
    // Each unit is counted on its own, so 36 hours is "1 days" and 90 minutes is "1 hours".
    if (auto days = numberOfDays(date, until))
        return std::to_string(days) + " days";
    if (auto hours = numberOfHours(date, until))
        return std::to_string(hours) + " hours";
    if (auto minutes = numberOfMinutes(date, until))
        return std::to_string(minutes) + " minutes";
    return std::to_string(numberOfSeconds(date, until)) + " seconds";
}

std::optional<std::int64_t> monthComponent(const Foundation::Date& date)
{
    return Calendar::current().dateComponents({Component::month}, date).month;
}

std::optional<std::int64_t> yearComponent(const Foundation::Date& date)
{
    return Calendar::current().dateComponents({Component::year}, date).year;
}

double timeIntervalToNow(const Foundation::Date& date)
{
    return date.timeIntervalSinceNow();
}

} // namespace Basalwork
