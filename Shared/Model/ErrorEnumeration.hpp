#pragma once

#include "Shared/Metricove/TrackableError.hpp"

#include "Platform/Foundation/Enumeration.hpp"

#include <cstdint>
#include <variant>

namespace Shared {

// The common frame of the framework's error enumerations: one struct per case, held in a variant in
// declared order. Payload cases are declared first, so a case's position is also its bridged code.
template <class Derived, class... Cases>
class ErrorEnumeration : public Foundation::ErrorOf<Derived, Metricove::TrackableError>,
                         public Foundation::Enumeration<ErrorEnumeration<Derived, Cases...>> {
public:
    using Case = std::variant<Cases...>;

    const Case& value() const { return m_case; }

    std::int64_t code() const override { return this->index(); }

protected:
    explicit ErrorEnumeration(Case value)
        : m_case(std::move(value))
    {
    }

private:
    Case m_case;
};

} // namespace Shared
