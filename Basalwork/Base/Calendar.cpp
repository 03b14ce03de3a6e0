#include "Basalwork/Base/Calendar.hpp"

#include <limits>

namespace Basalwork {

Foundation::Calendar Calendars::withIdentifier(Foundation::Calendar::Identifier identifier, const Foundation::TimeZone& timeZone)
{
    Foundation::Calendar calendar(identifier);
    calendar.setTimeZone(timeZone);
    return calendar;
}

std::optional<Foundation::Date> date(const Foundation::Calendar& calendar, Foundation::Calendar::Component bySubtracting,
                                     std::int64_t value, const Foundation::Date& from)
{
    // The most negative count has no negation; so many units lie beyond every calendar anyway.
    if (value == std::numeric_limits<std::int64_t>::min())
        return std::nullopt;
    return calendar.date(bySubtracting, -value, from);
}

} // namespace Basalwork
