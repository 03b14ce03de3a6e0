#include "Platform/Foundation/ISO8601DateFormatter.hpp"

#include "Platform/Foundation/DateFormatter.hpp"

namespace Foundation {

ISO8601DateFormatter::ISO8601DateFormatter()
    : m_formatter(make<DateFormatter>())
{
    m_formatter->setLocale(Locale("en_US_POSIX"));
    m_formatter->setTimeZone(TimeZone::gmt());
    m_formatter->setDateFormat("yyyy-MM-dd'T'HH:mm:ssXXXXX");
}

TimeZone ISO8601DateFormatter::timeZone() const
{
    return m_formatter->timeZone();
}

void ISO8601DateFormatter::setTimeZone(std::optional<TimeZone> timeZone)
{
    m_formatter->setTimeZone(timeZone.value_or(TimeZone::gmt()));
}

String ISO8601DateFormatter::string(const Date& from) const
{
    return m_formatter->string(from);
}

std::optional<Date> ISO8601DateFormatter::date(const String& from) const
{
    return m_formatter->date(from);
}

} // namespace Foundation
