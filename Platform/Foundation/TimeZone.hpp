#pragma once

#include "Platform/Foundation/String.hpp"

#include <optional>

namespace Foundation {

// A time zone named by its identifier ("GMT", "Europe/Berlin"), with ICU's rules.
class TimeZone {
public:
    // TimeZone(identifier:): nothing for an identifier ICU does not know.
    static std::optional<TimeZone> withIdentifier(const String& identifier);
    static TimeZone gmt();
    // The process's time zone: the one set with `setCurrent`, else the system's.
    static TimeZone current();
    // For tests and tools; nothing goes back to the system's time zone.
    static void setCurrent(std::optional<TimeZone> timeZone);

    const String& identifier() const { return m_identifier; }
    friend bool operator==(const TimeZone&, const TimeZone&) = default;

private:
    explicit TimeZone(String identifier)
        : m_identifier(std::move(identifier))
    {
    }
    String m_identifier;
};

} // namespace Foundation
