#include "Platform/Foundation/Calendar.hpp"

#include "Platform/Foundation/DateComponents.hpp"
#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/Locale.hpp"

#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <mutex>
#include <string_view>
#include <utility>

#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

namespace Foundation {

struct Calendar::Prototype {
    std::unique_ptr<icu::Calendar> calendar;
};

namespace {

using Identifier = Calendar::Identifier;
using Component = Calendar::Component;

// ICU's name for each system, in the order of Calendar::Identifier.
constexpr std::array<std::string_view, 16> icuTypes {
    "gregorian", "buddhist", "chinese", "coptic", "ethiopic", "ethiopic-amete-alem", "hebrew", "iso8601",
    "indian", "islamic", "islamic-civil", "japanese", "persian", "roc", "islamic-tbla", "islamic-umalqura",
};

// ICU's range of instants; beyond it (and for infinities and not-a-number) a calendar places nothing.
constexpr double earliestMilliseconds = -184303902528000000.0;
constexpr double latestMilliseconds = 183882168921600000.0;

constexpr double millisecondsPerSecond = 1000.0;

std::optional<double> milliseconds(const Date& date)
{
    double value = date.timeIntervalSince1970() * millisecondsPerSecond;
    if (!(value >= earliestMilliseconds && value <= latestMilliseconds))
        return std::nullopt;
    return value;
}

Date dateFromMilliseconds(double value)
{
    return Date::fromTimeIntervalSince1970(value / millisecondsPerSecond);
}

UCalendarDateFields field(Component component)
{
    switch (component) {
    case Component::year: return UCAL_YEAR;
    case Component::month: return UCAL_MONTH;
    case Component::day: return UCAL_DATE;
    case Component::hour: return UCAL_HOUR_OF_DAY;
    case Component::minute: return UCAL_MINUTE;
    case Component::second: return UCAL_SECOND;
    }
    fatalError("Unknown calendar component");
}

// Hours, minutes and seconds are elapsed time in every calendar; the other units follow the calendar.
std::optional<double> fixedMilliseconds(Component component)
{
    switch (component) {
    case Component::hour: return 3600000.0;
    case Component::minute: return 60000.0;
    case Component::second: return 1000.0;
    default: return std::nullopt;
    }
}

// ICU keeps months from 0.
std::int64_t fieldValue(Component component, std::int32_t value)
{
    return component == Component::month ? std::int64_t {value} + 1 : value;
}

std::optional<std::int32_t> int32(std::int64_t value)
{
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> icuValue(Component component, std::int64_t value)
{
    auto converted = int32(value);
    if (component != Component::month || !converted)
        return converted;
    return *converted > std::numeric_limits<std::int32_t>::min() ? std::optional(*converted - 1) : std::nullopt;
}

std::unique_ptr<icu::TimeZone> icuTimeZone(const TimeZone& timeZone)
{
    return std::unique_ptr<icu::TimeZone>(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(timeZone.identifier().view())));
}

// Prototypes are immutable once made, so one per system and zone serves every copy and every thread.
std::shared_ptr<const Calendar::Prototype> prototype(Identifier identifier, const TimeZone& timeZone)
{
    static std::mutex mutex;
    static auto* prototypes = new std::map<std::pair<Identifier, std::string>, std::shared_ptr<const Calendar::Prototype>>;

    std::lock_guard lock(mutex);
    auto key = std::make_pair(identifier, timeZone.identifier().utf8());
    if (auto found = prototypes->find(key); found != prototypes->end())
        return found->second;

    icu::Locale locale("");
    UErrorCode status = U_ZERO_ERROR;
    locale.setKeywordValue("calendar", std::string(icuTypes[static_cast<std::size_t>(identifier)]).c_str(), status);
    std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(icuTimeZone(timeZone).release(), locale, status));
    precondition(U_SUCCESS(status) && calendar, "ICU could not make a calendar");
    auto made = std::make_shared<Calendar::Prototype>(Calendar::Prototype {std::move(calendar)});
    prototypes->emplace(std::move(key), made);
    return made;
}

Identifier identifierOfLocale(const Locale& locale)
{
    static std::mutex mutex;
    static auto* known = new std::map<std::string, Identifier>;
    std::lock_guard lock(mutex);
    if (auto found = known->find(locale.identifier().utf8()); found != known->end())
        return found->second;

    Identifier identifier = Identifier::gregorian;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(icu::Locale(locale.identifier().c_str()), status));
    if (U_SUCCESS(status) && calendar) {
        std::string_view type = calendar->getType();
        for (std::size_t index = 0; index < icuTypes.size(); ++index) {
            if (icuTypes[index] == type)
                identifier = static_cast<Identifier>(index);
        }
    }
    known->emplace(locale.identifier().utf8(), identifier);
    return identifier;
}

std::mutex currentMutex;
std::optional<Calendar> currentOverride;

} // namespace

Calendar::Calendar(Identifier identifier)
    : Calendar(identifier, TimeZone::current())
{
}

Calendar::Calendar(Identifier identifier, TimeZone timeZone)
    : m_identifier(identifier)
    , m_timeZone(std::move(timeZone))
    , m_prototype(prototype(m_identifier, m_timeZone))
{
}

Calendar Calendar::current()
{
    {
        std::lock_guard lock(currentMutex);
        if (currentOverride)
            return *currentOverride;
    }
    return Calendar(identifierOfLocale(Locale::current()), TimeZone::current());
}

void Calendar::setCurrent(std::optional<Calendar> calendar)
{
    std::lock_guard lock(currentMutex);
    currentOverride = std::move(calendar);
}

void Calendar::setTimeZone(TimeZone timeZone)
{
    m_prototype = prototype(m_identifier, timeZone);
    m_timeZone = std::move(timeZone);
}

namespace {

// A working copy of the prototype, set to `date`; nothing when the calendar cannot place it.
std::unique_ptr<icu::Calendar> placed(const icu::Calendar& prototype, double milliseconds)
{
    std::unique_ptr<icu::Calendar> calendar(prototype.clone());
    UErrorCode status = U_ZERO_ERROR;
    calendar->setTime(milliseconds, status);
    if (U_FAILURE(status))
        return nullptr;
    return calendar;
}

} // namespace

DateComponents Calendar::dateComponents(const std::set<Component>& components, const Date& from) const
{
    DateComponents result;
    auto time = milliseconds(from);
    auto calendar = time ? placed(*m_prototype->calendar, *time) : nullptr;
    if (!calendar)
        return result;
    for (Component component : components) {
        UErrorCode status = U_ZERO_ERROR;
        std::int32_t value = calendar->get(field(component), status);
        if (U_SUCCESS(status))
            result.setValue(fieldValue(component, value), component);
    }
    return result;
}

DateComponents Calendar::dateComponents(const std::set<Component>& components, const Date& from, const Date& to) const
{
    DateComponents result;
    auto start = milliseconds(from);
    auto target = milliseconds(to);
    auto calendar = start && target ? placed(*m_prototype->calendar, *start) : nullptr;
    if (!calendar)
        return result;
    // std::set keeps the declared order, largest unit first, so each unit counts what the larger ones left.
    for (Component component : components) {
        UErrorCode status = U_ZERO_ERROR;
        if (auto unit = fixedMilliseconds(component)) {
            double now = calendar->getTime(status);
            double count = std::trunc((*target - now) / *unit);
            calendar->setTime(now + count * *unit, status);
            if (U_FAILURE(status))
                return {};
            result.setValue(static_cast<std::int64_t>(count), component);
        } else {
            std::int32_t count = calendar->fieldDifference(*target, field(component), status);
            if (U_FAILURE(status))
                return {};
            result.setValue(count, component);
        }
    }
    return result;
}

std::optional<Date> Calendar::date(const DateComponents& from) const
{
    std::unique_ptr<icu::Calendar> calendar(m_prototype->calendar->clone());
    calendar->clear();
    if (from.timeZone)
        calendar->adoptTimeZone(icuTimeZone(*from.timeZone).release());
    for (Component component : {Component::year, Component::month, Component::day, Component::hour, Component::minute, Component::second}) {
        auto value = from.value(component);
        if (!value)
            continue;
        auto converted = icuValue(component, *value);
        if (!converted)
            return std::nullopt;
        calendar->set(field(component), *converted);
    }
    UErrorCode status = U_ZERO_ERROR;
    double time = calendar->getTime(status);
    if (U_FAILURE(status))
        return std::nullopt;
    return dateFromMilliseconds(time);
}

std::optional<Date> Calendar::date(Component byAdding, std::int64_t value, const Date& to) const
{
    auto time = milliseconds(to);
    if (!time)
        return std::nullopt;
    if (auto unit = fixedMilliseconds(byAdding)) {
        auto result = dateFromMilliseconds(*time + static_cast<double>(value) * *unit);
        return milliseconds(result) ? std::optional(result) : std::nullopt;
    }
    auto amount = int32(value);
    if (!amount)
        return std::nullopt;
    // ICU rebuilds the date from whole-millisecond fields; the part below a millisecond rides along.
    double whole = std::floor(*time);
    auto calendar = placed(*m_prototype->calendar, whole);
    if (!calendar)
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    calendar->add(field(byAdding), *amount, status);
    double result = calendar->getTime(status);
    if (U_FAILURE(status))
        return std::nullopt;
    return dateFromMilliseconds(result + (*time - whole));
}

Date Calendar::startOfDay(const Date& for_) const
{
    auto time = milliseconds(for_);
    auto calendar = time ? placed(*m_prototype->calendar, *time) : nullptr;
    if (!calendar)
        return for_;
    UErrorCode status = U_ZERO_ERROR;
    for (auto smaller : {UCAL_HOUR_OF_DAY, UCAL_MINUTE, UCAL_SECOND, UCAL_MILLISECOND})
        calendar->set(smaller, 0);
    // A skipped midnight means the day began when the clocks jumped; a repeated one, at its first pass.
    calendar->setSkippedWallTimeOption(UCAL_WALLTIME_NEXT_VALID);
    calendar->setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
    double start = calendar->getTime(status);
    return U_SUCCESS(status) ? dateFromMilliseconds(start) : for_;
}

bool Calendar::isDate(const Date& date, const Date& inSameDayAs) const
{
    auto first = milliseconds(date);
    auto second = milliseconds(inSameDayAs);
    if (!first || !second)
        return false;
    auto day = [&](double time) -> std::optional<std::int32_t> {
        auto calendar = placed(*m_prototype->calendar, time);
        if (!calendar)
            return std::nullopt;
        UErrorCode status = U_ZERO_ERROR;
        std::int32_t julianDay = calendar->get(UCAL_JULIAN_DAY, status);
        return U_SUCCESS(status) ? std::optional(julianDay) : std::nullopt;
    };
    auto firstDay = day(*first);
    return firstDay && firstDay == day(*second);
}

} // namespace Foundation
