#pragma once

#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/Enumeration.hpp"

#include <cstdint>
#include <variant>

namespace Shared {

// A rejected master password that the unlock screen still shows: either the user may try again, or
// entry is held back until `reEnabledAt` after too many attempts.
class EntryAttemptState : public Foundation::Enumeration<EntryAttemptState> {
public:
    struct Failed {
        std::int64_t failedAttemptCount;
        friend bool operator==(const Failed&, const Failed&) = default;
    };
    struct Disabled {
        std::int64_t failedAttemptCount;
        Foundation::Date reEnabledAt;
        friend bool operator==(const Disabled&, const Disabled&) = default;
    };
    // Cases in declared order.
    using Case = std::variant<Failed, Disabled>;

    static EntryAttemptState failed(std::int64_t failedAttemptCount) { return EntryAttemptState(Failed {failedAttemptCount}); }
    static EntryAttemptState disabled(std::int64_t failedAttemptCount, Foundation::Date reEnabledAt)
    {
        return EntryAttemptState(Disabled {failedAttemptCount, reEnabledAt});
    }

    const Case& value() const { return m_case; }
    friend bool operator==(const EntryAttemptState&, const EntryAttemptState&) = default;

private:
    explicit EntryAttemptState(Case value)
        : m_case(value)
    {
    }
    Case m_case;
};

} // namespace Shared
