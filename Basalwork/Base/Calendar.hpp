#pragma once

#include "Platform/Foundation/Calendar.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/TimeZone.hpp"

#include <cstdint>
#include <optional>

namespace Basalwork {

// Initialisers of Calendar.
struct Calendars {
    // init(identifier:timeZone:)
    static Foundation::Calendar withIdentifier(Foundation::Calendar::Identifier identifier, const Foundation::TimeZone& timeZone);
};

// date(bySubtracting:value:from:): `value` units earlier, carrying into larger units; nothing when the
// calendar cannot place the result.
std::optional<Foundation::Date> date(const Foundation::Calendar& calendar, Foundation::Calendar::Component bySubtracting,
                                     std::int64_t value, const Foundation::Date& from);

} // namespace Basalwork
