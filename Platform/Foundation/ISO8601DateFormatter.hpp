#pragma once

#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/TimeZone.hpp"

#include <memory>
#include <optional>

namespace Foundation {

class DateFormatter;

// Internet date-time text, "2001-01-01T00:00:00Z": whole seconds, in GMT unless told otherwise; parsing
// accepts "Z" or a "+hh:mm" offset. Safe to use from several threads.
class ISO8601DateFormatter : public NSObject {
public:
    TimeZone timeZone() const;
    void setTimeZone(std::optional<TimeZone> timeZone);

    String string(const Date& from) const;
    std::optional<Date> date(const String& from) const;

protected:
    friend Construct;
    ISO8601DateFormatter();

private:
    std::shared_ptr<DateFormatter> m_formatter;
};

} // namespace Foundation
