#include "Platform/Foundation/DateFormatter.hpp"

#include <unicode/calendar.h>
#include <unicode/datefmt.h>
#include <unicode/reldatefmt.h>
#include <unicode/locid.h>
#include <unicode/parsepos.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

namespace Foundation {

struct DateFormatter::Formatter {
    // What the pattern was made from: the styles' pattern is looked up only when these change.
    bool formatsWithStyles;
    String dateFormat;
    Style dateStyle;
    Style timeStyle;
    String pattern;
    Locale locale;
    TimeZone timeZone;
    std::unique_ptr<icu::SimpleDateFormat> format;
};

namespace {

icu::DateFormat::EStyle icuStyle(DateFormatter::Style style)
{
    switch (style) {
    case DateFormatter::Style::none: return icu::DateFormat::kNone;
    case DateFormatter::Style::short_: return icu::DateFormat::kShort;
    case DateFormatter::Style::medium: return icu::DateFormat::kMedium;
    case DateFormatter::Style::long_: return icu::DateFormat::kLong;
    case DateFormatter::Style::full: return icu::DateFormat::kFull;
    }
    return icu::DateFormat::kNone;
}

} // namespace

DateFormatter::DateFormatter()
    : m_dateStyle(Style::none)
    , m_timeStyle(Style::none)
{
}

DateFormatter::~DateFormatter() = default;

String DateFormatter::dateFormat() const
{
    std::lock_guard lock(m_mutex);
    return pattern(m_locale.value_or(Locale::current()));
}

void DateFormatter::setDateFormat(String dateFormat)
{
    std::lock_guard lock(m_mutex);
    m_dateFormat = std::move(dateFormat);
    m_formatsWithStyles = false;
}

DateFormatter::Style DateFormatter::dateStyle() const
{
    std::lock_guard lock(m_mutex);
    return m_dateStyle;
}

void DateFormatter::setDateStyle(Style dateStyle)
{
    std::lock_guard lock(m_mutex);
    m_dateStyle = dateStyle;
    m_formatsWithStyles = true;
}

DateFormatter::Style DateFormatter::timeStyle() const
{
    std::lock_guard lock(m_mutex);
    return m_timeStyle;
}

void DateFormatter::setTimeStyle(Style timeStyle)
{
    std::lock_guard lock(m_mutex);
    m_timeStyle = timeStyle;
    m_formatsWithStyles = true;
}

// The styles name a pattern per locale, so it is looked up again whenever the locale may have changed.
String DateFormatter::pattern(const Locale& locale) const
{
    if (!m_formatsWithStyles)
        return m_dateFormat;
    if (m_dateStyle == Style::none && m_timeStyle == Style::none)
        return {};
    std::unique_ptr<icu::DateFormat> format(icu::DateFormat::createDateTimeInstance(
        icuStyle(m_dateStyle), icuStyle(m_timeStyle), icu::Locale::createCanonical(locale.identifier().c_str())));
    auto* simple = dynamic_cast<icu::SimpleDateFormat*>(format.get());
    if (!simple)
        return {};
    icu::UnicodeString text;
    simple->toPattern(text);
    std::string bytes;
    text.toUTF8String(bytes);
    return String(std::move(bytes));
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

bool DateFormatter::doesRelativeDateFormatting() const
{
    std::lock_guard lock(m_mutex);
    return m_doesRelativeDateFormatting;
}

void DateFormatter::setDoesRelativeDateFormatting(bool relative)
{
    std::lock_guard lock(m_mutex);
    m_doesRelativeDateFormatting = relative;
}

std::optional<String> DateFormatter::relativeString(const Date& from) const
{
    if (!m_doesRelativeDateFormatting || !m_formatsWithStyles || m_dateStyle == Style::none)
        return std::nullopt;
    const Locale locale = m_locale.value_or(Locale::current());
    const TimeZone timeZone = m_timeZone.value_or(TimeZone::current());
    const auto icuLocale = icu::Locale::createCanonical(locale.identifier().c_str());
    UErrorCode status = U_ZERO_ERROR;
    // Days are counted on the program's clock, not the system's, so a test's manual clock decides "today".
    std::unique_ptr<icu::Calendar> calendar(
        icu::Calendar::createInstance(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(timeZone.identifier().view())), icuLocale, status));
    if (U_FAILURE(status))
        return std::nullopt;
    auto dayOf = [&](const Date& date) {
        calendar->setTime(date.timeIntervalSince1970() * 1000.0, status);
        return calendar->get(UCAL_JULIAN_DAY, status);
    };
    const auto days = dayOf(from) - dayOf(Date::now());
    if (U_FAILURE(status) || days < -1 || days > 1)
        return std::nullopt;
    icu::RelativeDateTimeFormatter relative(icuLocale, nullptr, UDAT_STYLE_LONG, UDISPCTX_CAPITALIZATION_FOR_BEGINNING_OF_SENTENCE, status);
    icu::UnicodeString text;
    relative.format(days < 0 ? UDAT_DIRECTION_LAST : days > 0 ? UDAT_DIRECTION_NEXT : UDAT_DIRECTION_THIS, UDAT_ABSOLUTE_DAY, text, status);
    if (U_FAILURE(status))
        return std::nullopt;
    if (m_timeStyle != Style::none) {
        std::unique_ptr<icu::DateFormat> time(icu::DateFormat::createTimeInstance(icuStyle(m_timeStyle), icuLocale));
        if (time) {
            time->adoptTimeZone(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(timeZone.identifier().view())));
            text += ", ";
            time->format(from.timeIntervalSince1970() * 1000.0, text);
        }
    }
    std::string bytes;
    text.toUTF8String(bytes);
    return String(std::move(bytes));
}

DateFormatter::Formatter& DateFormatter::formatter() const
{
    Locale locale = m_locale.value_or(Locale::current());
    TimeZone timeZone = m_timeZone.value_or(TimeZone::current());
    if (m_formatter && m_formatter->formatsWithStyles == m_formatsWithStyles && m_formatter->dateFormat == m_dateFormat
        && m_formatter->dateStyle == m_dateStyle && m_formatter->timeStyle == m_timeStyle && m_formatter->locale == locale
        && m_formatter->timeZone == timeZone)
        return *m_formatter;

    String pattern = this->pattern(locale);
    UErrorCode status = U_ZERO_ERROR;
    auto format = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString::fromUTF8(pattern.view()),
                                                          icu::Locale::createCanonical(locale.identifier().c_str()), status);
    if (U_FAILURE(status)) {
        // A pattern ICU rejects formats nothing and parses nothing, as the platform's does.
        format.reset();
    } else {
        format->adoptTimeZone(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(timeZone.identifier().view())));
        format->setLenient(false);
    }
    m_formatter = std::make_unique<Formatter>(Formatter {m_formatsWithStyles, m_dateFormat, m_dateStyle, m_timeStyle, std::move(pattern),
                                                         std::move(locale), std::move(timeZone), std::move(format)});
    return *m_formatter;
}

String DateFormatter::string(const Date& from) const
{
    std::lock_guard lock(m_mutex);
    if (auto relative = relativeString(from))
        return *relative;
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
