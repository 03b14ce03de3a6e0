#pragma once

#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/Locale.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/TimeZone.hpp"

#include <memory>
#include <mutex>
#include <optional>

namespace Foundation {

// Formats and parses dates with an ICU date pattern ("yyyy-MM-dd HH:mm"), in a locale and a time zone.
// Parsing is strict: the whole text must match the pattern, and out-of-range fields fail. Safe to use
// from several threads.
class DateFormatter : public NSObject {
public:
    enum class Style;

    ~DateFormatter() override;

    // The pattern set last, or the locale's pattern for the date and time styles when those were set
    // after it.
    String dateFormat() const;
    void setDateFormat(String dateFormat);
    // Both none unless set; none for both formats nothing.
    Style dateStyle() const;
    void setDateStyle(Style dateStyle);
    Style timeStyle() const;
    void setTimeStyle(Style timeStyle);
    // The current locale and time zone unless set; setting nothing goes back to them.
    Locale locale() const;
    void setLocale(std::optional<Locale> locale);
    TimeZone timeZone() const;
    void setTimeZone(std::optional<TimeZone> timeZone);
    // With a date style, a date on the day before, of or after today (on the clock, in the formatter's
    // time zone) shows as that day's word ("Yesterday", "Today", "Tomorrow") followed by its time.
    bool doesRelativeDateFormatting() const;
    void setDoesRelativeDateFormatting(bool relative);

    // string(from:)
    String string(const Date& from) const;
    // date(from:): nothing when the text does not match the format.
    std::optional<Date> date(const String& from) const;

protected:
    friend Construct;
    DateFormatter();

private:
    struct Formatter;
    // The ICU formatter for the current settings, made again when they change.
    Formatter& formatter() const;
    String pattern(const Locale& locale) const;
    // The relative form of the date, or none when it is not within a day of today.
    std::optional<String> relativeString(const Date& from) const;

    mutable std::mutex m_mutex;
    String m_dateFormat;
    Style m_dateStyle;
    Style m_timeStyle;
    bool m_formatsWithStyles = false;
    bool m_doesRelativeDateFormatting = false;
    std::optional<Locale> m_locale;
    std::optional<TimeZone> m_timeZone;
    mutable std::unique_ptr<Formatter> m_formatter;
};

} // namespace Foundation

#include "Platform/Foundation/DateFormatter.Style.hpp"
