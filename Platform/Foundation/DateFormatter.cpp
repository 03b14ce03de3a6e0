#include "Platform/Foundation/DateFormatter.hpp"

#include <unicode/locid.h>
#include <unicode/parsepos.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

namespace Foundation {

struct DateFormatter::Formatter {
    String pattern;
    Locale locale;
    TimeZone timeZone;
    std::unique_ptr<icu::SimpleDateFormat> format;
};

DateFormatter::DateFormatter() = default;
DateFormatter::~DateFormatter() = default;

String DateFormatter::dateFormat() const
{
    std::lock_guard lock(m_mutex);
    return m_dateFormat;
}

void DateFormatter::setDateFormat(String dateFormat)
{
    std::lock_guard lock(m_mutex);
    m_dateFormat = std::move(dateFormat);
}

Locale DateFormatter::locale() const
{
    std::lock_guard lock(m_mutex);
    return m_locale.value_or(Locale::current());
}

void DateFormatter::setLocale(std::optional<Locale> locale)
{
    std::lock_guard lock(m_mutex);
    m_locale = std::move(locale);
}

TimeZone DateFormatter::timeZone() const
{
    std::lock_guard lock(m_mutex);
    return m_timeZone.value_or(TimeZone::current());
}

void DateFormatter::setTimeZone(std::optional<TimeZone> timeZone)
{
    std::lock_guard lock(m_mutex);
    m_timeZone = std::move(timeZone);
}

DateFormatter::Formatter& DateFormatter::formatter() const
{
    Locale locale = m_locale.value_or(Locale::current());
    TimeZone timeZone = m_timeZone.value_or(TimeZone::current());
    if (m_formatter && m_formatter->pattern == m_dateFormat && m_formatter->locale == locale && m_formatter->timeZone == timeZone)
        return *m_formatter;

    UErrorCode status = U_ZERO_ERROR;
    auto format = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString::fromUTF8(m_dateFormat.view()),
                                                          icu::Locale::createCanonical(locale.identifier().c_str()), status);
    if (U_FAILURE(status)) {
        // A pattern ICU rejects formats nothing and parses nothing, as the platform's does.
        format.reset();
    } else {
        format->adoptTimeZone(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(timeZone.identifier().view())));
        format->setLenient(false);
    }
    m_formatter = std::make_unique<Formatter>(Formatter {m_dateFormat, std::move(locale), std::move(timeZone), std::move(format)});
    return *m_formatter;
}

String DateFormatter::string(const Date& from) const
{
    std::lock_guard lock(m_mutex);
    auto& formatter = this->formatter();
    if (!formatter.format)
        return {};
    icu::UnicodeString text;
    formatter.format->format(from.timeIntervalSince1970() * 1000.0, text);
    std::string bytes;
    text.toUTF8String(bytes);
    return String(std::move(bytes));
}

std::optional<Date> DateFormatter::date(const String& from) const
{
    std::lock_guard lock(m_mutex);
    auto& formatter = this->formatter();
    if (!formatter.format || formatter.pattern.isEmpty())
        return std::nullopt;
    icu::UnicodeString text = icu::UnicodeString::fromUTF8(from.view());
    icu::ParsePosition position(0);
    UDate milliseconds = formatter.format->parse(text, position);
    if (position.getErrorIndex() != -1 || position.getIndex() != text.length())
        return std::nullopt;
    return Date::fromTimeIntervalSince1970(milliseconds / 1000.0);
}

} // namespace Foundation
