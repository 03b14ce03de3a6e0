#pragma once

#include "Platform/Foundation/DateFormatter.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/TimeZone.hpp"

#include <memory>

namespace Basalwork {

// Initialisers of DateFormatter; each makes a new formatter, everything else at its defaults.
struct DateFormatters {
    // init(dateStyle:timeStyle:timeZone:)
    static std::shared_ptr<Foundation::DateFormatter> withDateStyle(Foundation::DateFormatter::Style dateStyle,
                                                                    Foundation::DateFormatter::Style timeStyle,
                                                                    const Foundation::TimeZone& timeZone);
    // init(dateFormat:timeZone:)
    static std::shared_ptr<Foundation::DateFormatter> withDateFormat(const Foundation::String& dateFormat,
                                                                     const Foundation::TimeZone& timeZone);
};

} // namespace Basalwork
