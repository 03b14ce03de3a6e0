#pragma once

#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/String.hpp"

#include <optional>
#include <variant>

namespace Corvendale {

// What the safe-for-inspection page shows: the explanation with its set-up button while no inspection
// password exists, the two inputs while one is being typed, and how to use the mode once it is set up.
// An activated mode has no case: the page is not offered then.
class SafeForInspectionVState : public Foundation::Enumeration<SafeForInspectionVState> {
public:
    struct Overview {
        Foundation::String explanationText;
        friend bool operator==(const Overview&, const Overview&) = default;
    };
    struct CreatePassword {
        std::optional<Foundation::String> entryText;
        std::optional<Foundation::String> reEntryText;
        friend bool operator==(const CreatePassword&, const CreatePassword&) = default;
    };
    struct Instructions {
        friend bool operator==(const Instructions&, const Instructions&) = default;
    };
    using Case = std::variant<Overview, CreatePassword, Instructions>;

    template <class C>
        requires std::constructible_from<Case, C>
    SafeForInspectionVState(C value) // NOLINT(google-explicit-constructor)
        : m_case(std::move(value))
    {
    }

    const Case& value() const { return m_case; }
    friend bool operator==(const SafeForInspectionVState&, const SafeForInspectionVState&) = default;

private:
    Case m_case;
};

} // namespace Corvendale
