#pragma once

#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/String.hpp"

#include <optional>
#include <variant>

namespace Shared {

// A new password typed twice: too short (including nothing typed), the two texts differ, or accepted.
class PasswordEntryReEntryState : public Foundation::Enumeration<PasswordEntryReEntryState> {
public:
    static constexpr std::int64_t minimumLength = 8;

    struct TooShort {
        friend bool operator==(const TooShort&, const TooShort&) = default;
    };
    struct Mismatch {
        friend bool operator==(const Mismatch&, const Mismatch&) = default;
    };
    struct Accepted {
        Foundation::String password;
        friend bool operator==(const Accepted&, const Accepted&) = default;
    };
    // Cases in declared order.
    using Case = std::variant<TooShort, Mismatch, Accepted>;

    // Too short when the entry, without surrounding whitespace, has fewer than minimumLength characters.
    PasswordEntryReEntryState(const std::optional<Foundation::String>& entryText, const std::optional<Foundation::String>& reEntryText);

    const Case& value() const { return m_case; }
    std::optional<Foundation::String> acceptedPassword() const;
    friend bool operator==(const PasswordEntryReEntryState&, const PasswordEntryReEntryState&) = default;

private:
    Case m_case;
};

} // namespace Shared
