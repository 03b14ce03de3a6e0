#include "Shared/Model/PasswordEntryReEntryState.hpp"

#include "Platform/Foundation/CharacterSet.hpp"

namespace Shared {

PasswordEntryReEntryState::PasswordEntryReEntryState(const std::optional<Foundation::String>& entryText,
                                                     const std::optional<Foundation::String>& reEntryText)
{
    auto entry = entryText.value_or(Foundation::String());
    if (entry.trimmingCharacters(Foundation::CharacterSet::whitespacesAndNewlines()).count() < minimumLength)
        m_case = TooShort {};
    else if (entry != reEntryText.value_or(Foundation::String()))
        m_case = Mismatch {};
    else
        m_case = Accepted {entry};
}

std::optional<Foundation::String> PasswordEntryReEntryState::acceptedPassword() const
{
    if (const auto* accepted = as<Accepted>())
        return accepted->password;
    return std::nullopt;
}

} // namespace Shared
