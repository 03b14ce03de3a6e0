#pragma once

#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/TimeZone.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <set>

namespace Foundation {

struct DateComponents;

// A calendar of one system (Gregorian, Buddhist, ...) in one time zone, with ICU's rules. A value: copies
// share the immutable ICU prototype they were made from.
class Calendar {
public:
    enum class Identifier;
    enum class Component;

    // init(identifier:): the current time zone.
    explicit Calendar(Identifier identifier);

    // The process's calendar: the one set with `setCurrent`, else the current locale's calendar system in
    // the current time zone.
    static Calendar current();
    // For tests and tools; nothing goes back to the locale's calendar.
    static void setCurrent(std::optional<Calendar> calendar);

    Identifier identifier() const { return m_identifier; }
    const TimeZone& timeZone() const { return m_timeZone; }
    void setTimeZone(TimeZone timeZone);

    // dateComponents(_:from:): the asked fields of `from`, in the calendar's time zone. A date the calendar
    // cannot place (not finite, or beyond its range) leaves every field absent.
    DateComponents dateComponents(const std::set<Component>& components, const Date& from) const;
    // dateComponents(_:from:to:): the difference, larger units first, each counted in whole units toward
    // zero. Absent fields when either date cannot be placed.
    DateComponents dateComponents(const std::set<Component>& components, const Date& from, const Date& to) const;
    // date(from:): the present fields read leniently (a 13th month rolls into the next year), in the
    // components' time zone if they carry one. Absent fields keep ICU's defaults (1970-01-01 00:00:00).
    std::optional<Date> date(const DateComponents& from) const;
    // date(byAdding:value:to:): carrying into larger units; a month added to 31 January pins to the end
    // of February. Hours, minutes and seconds are elapsed time.
    std::optional<Date> date(Component byAdding, std::int64_t value, const Date& to) const;
    // startOfDay(for:): the first moment of the day, which is not midnight where the clocks skip it. A
    // date the calendar cannot place comes back as it is.
    Date startOfDay(const Date& for_) const;
    // isDate(_:inSameDayAs:)
    bool isDate(const Date& date, const Date& inSameDayAs) const;

    friend bool operator==(const Calendar& lhs, const Calendar& rhs)
    {
        return lhs.m_identifier == rhs.m_identifier && lhs.m_timeZone == rhs.m_timeZone;
    }

    // The ICU calendar this one copies from; opaque outside its own file.
    struct Prototype;

private:
    Calendar(Identifier identifier, TimeZone timeZone);

    Identifier m_identifier;
    TimeZone m_timeZone;
    std::shared_ptr<const Prototype> m_prototype;
};

} // namespace Foundation

#include "Platform/Foundation/Calendar.Component.hpp"
#include "Platform/Foundation/Calendar.Identifier.hpp"
#include "Platform/Foundation/DateComponents.hpp"
