#pragma once

#include <memory>

namespace Foundation {

class DateFormatter;

// How JSON coders write and read dates; JSONEncoder.DateEncodingStrategy and
// JSONDecoder.DateDecodingStrategy are this one type, as their cases are the same.
class JSONDateStrategy {
public:
    // Cases in the platform's declared order.
    enum class Kind {
        deferredToDate,        // the date's own form: seconds since 2001-01-01, as a number
        secondsSince1970,      // a number
        millisecondsSince1970, // a number
        iso8601,               // internet date-time text, "2001-01-01T00:00:00Z"
        formatted,             // text, through the given formatter
    };

    JSONDateStrategy() = default;
    static JSONDateStrategy deferredToDate() { return JSONDateStrategy(Kind::deferredToDate, nullptr); }
    static JSONDateStrategy secondsSince1970() { return JSONDateStrategy(Kind::secondsSince1970, nullptr); }
    static JSONDateStrategy millisecondsSince1970() { return JSONDateStrategy(Kind::millisecondsSince1970, nullptr); }
    static JSONDateStrategy iso8601() { return JSONDateStrategy(Kind::iso8601, nullptr); }
    // The formatter object is shared, not copied: later changes to it apply.
    static JSONDateStrategy formatted(std::shared_ptr<DateFormatter> formatter);

    Kind kind() const { return m_kind; }
    // The formatter of `formatted`; null for the other cases.
    const std::shared_ptr<DateFormatter>& formatter() const { return m_formatter; }

    // Formatters compare by identity.
    friend bool operator==(const JSONDateStrategy&, const JSONDateStrategy&) = default;

private:
    JSONDateStrategy(Kind kind, std::shared_ptr<DateFormatter> formatter)
        : m_kind(kind)
        , m_formatter(std::move(formatter))
    {
    }

    Kind m_kind = Kind::deferredToDate;
    std::shared_ptr<DateFormatter> m_formatter;
};

} // namespace Foundation
