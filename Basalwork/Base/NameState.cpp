#include "Basalwork/Base/NameState.hpp"

namespace Basalwork {
namespace {

NameState::Case stateFor(const std::optional<Foundation::String>& firstName, const std::optional<Foundation::String>& lastName)
{
    if (firstName && lastName)
        return NameState::FirstAndLastName {*firstName, *lastName};
    if (firstName)
        return NameState::FirstNameOnly {*firstName};
    if (lastName)
        return NameState::LastNameOnly {*lastName};
    return NameState::NoName {};
}

} // namespace

NameState::NameState(const std::optional<Foundation::String>& firstName, const std::optional<Foundation::String>& lastName)
    : m_case(stateFor(firstName, lastName))
{
}

std::optional<Foundation::String> NameState::fullname(NameFormat inFormat, bool includeSeparatingComma) const
{
    if (const auto* names = as<FirstAndLastName>()) {
        Foundation::String separator = includeSeparatingComma ? ", " : " ";
        if (inFormat == NameFormat::firstLast)
            return names->firstName + separator + names->lastName;
        return names->lastName + separator + names->firstName;
    }
    if (const auto* first = as<FirstNameOnly>())
        return first->firstName;
    if (const auto* last = as<LastNameOnly>())
        return last->lastName;
    return std::nullopt;
}

} // namespace Basalwork
