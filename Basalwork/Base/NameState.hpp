#pragma once

#include "Basalwork/Base/NameFormat.hpp"

#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/String.hpp"

#include <optional>
#include <variant>

namespace Basalwork {

// Which of a person's first and last name are known.
class NameState : public Foundation::Enumeration<NameState> {
public:
    struct FirstAndLastName {
        Foundation::String firstName;
        Foundation::String lastName;
        friend bool operator==(const FirstAndLastName&, const FirstAndLastName&) = default;
    };
    struct FirstNameOnly {
        Foundation::String firstName;
        friend bool operator==(const FirstNameOnly&, const FirstNameOnly&) = default;
    };
    struct LastNameOnly {
        Foundation::String lastName;
        friend bool operator==(const LastNameOnly&, const LastNameOnly&) = default;
    };
    struct NoName {
        friend bool operator==(const NoName&, const NoName&) = default;
    };
    // Cases in declared order.
    using Case = std::variant<FirstAndLastName, FirstNameOnly, LastNameOnly, NoName>;

    static NameState firstAndLastName(Foundation::String firstName, Foundation::String lastName)
    {
        return NameState(FirstAndLastName {std::move(firstName), std::move(lastName)});
    }
    static NameState firstNameOnly(Foundation::String firstName) { return NameState(FirstNameOnly {std::move(firstName)}); }
    static NameState lastNameOnly(Foundation::String lastName) { return NameState(LastNameOnly {std::move(lastName)}); }
    static NameState noName() { return NameState(NoName {}); }

    // An empty name counts as given; only nil is missing.
    NameState(const std::optional<Foundation::String>& firstName, const std::optional<Foundation::String>& lastName);

    const Case& value() const { return m_case; }

    // Nothing for noName; a single name unchanged whatever the format; otherwise both names in the
    // format's order, separated by ", " or by one space.
    std::optional<Foundation::String> fullname(NameFormat inFormat, bool includeSeparatingComma) const;

    friend bool operator==(const NameState&, const NameState&) = default;

private:
    explicit NameState(Case value)
        : m_case(std::move(value))
    {
    }

    Case m_case;
};

} // namespace Basalwork
