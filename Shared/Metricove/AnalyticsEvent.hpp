#pragma once

#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/String.hpp"

#include <variant>

namespace Metricove {

// What the analytics store records: an unexpected error with the operation it broke, or a plain text.
class AnalyticsEvent : public Foundation::Enumeration<AnalyticsEvent> {
public:
    struct Error {
        Foundation::ErrorPtr error;
        Foundation::String context;
    };
    struct Message {
        Foundation::String text;
    };
    // Cases in declared order.
    using Case = std::variant<Error, Message>;

    static AnalyticsEvent error(const Foundation::Error& error, Foundation::String context)
    {
        return AnalyticsEvent(Error {error.clone(), std::move(context)});
    }
    static AnalyticsEvent message(Foundation::String text) { return AnalyticsEvent(Message {std::move(text)}); }

    const Case& value() const { return m_case; }

private:
    explicit AnalyticsEvent(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Metricove
