#pragma once

#include "Platform/Foundation/RawRepresentable.hpp"
#include "Platform/Foundation/String.hpp"

#include <array>
#include <functional>
#include <optional>
#include <utility>

namespace Basalwork {

// The order in which a person's names are written. Coded as its raw value.
class NameFormat {
public:
    enum class Case { firstLast, lastFirst };
    static constexpr Case firstLast = Case::firstLast;
    static constexpr Case lastFirst = Case::lastFirst;

    constexpr NameFormat(Case value) // NOLINT(google-explicit-constructor): a case is a format
        : m_case(value)
    {
    }
    // init(rawValue:)
    static std::optional<NameFormat> fromRawValue(const Foundation::String& rawValue);

    static constexpr std::array<NameFormat, 2> allCases() { return {firstLast, lastFirst}; }

    constexpr Case value() const { return m_case; }
    Foundation::String rawValue() const;

    friend constexpr bool operator==(NameFormat, NameFormat) = default;

private:
    Case m_case;
};

} // namespace Basalwork

template <>
struct Foundation::RawRepresentation<Basalwork::NameFormat> {
    using RawValue = Foundation::String;
    static RawValue rawValue(Basalwork::NameFormat format) { return format.rawValue(); }
    static std::optional<Basalwork::NameFormat> make(const RawValue& raw) { return Basalwork::NameFormat::fromRawValue(raw); }
};

template <>
struct std::hash<Basalwork::NameFormat> {
    std::size_t operator()(Basalwork::NameFormat format) const { return static_cast<std::size_t>(format.value()); }
};
