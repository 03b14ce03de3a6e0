#pragma once

#include "Platform/Foundation/String.hpp"

#include <optional>

namespace Foundation {

// A locale named by its ICU identifier ("en_US", "de_DE", "en_US_POSIX").
class Locale {
public:
    explicit Locale(String identifier)
        : m_identifier(std::move(identifier))
    {
    }

    // The process's locale: the one set with `setCurrent`, else ICU's default for the environment.
    static Locale current();
    // For tests and tools; nothing goes back to the environment's locale.
    static void setCurrent(std::optional<Locale> locale);

    const String& identifier() const { return m_identifier; }
    friend bool operator==(const Locale&, const Locale&) = default;

private:
    String m_identifier;
};

} // namespace Foundation
