#include "Shared/Screens/AuthenticationV.State.hpp"

#include "Platform/Foundation/CharacterSet.hpp"

namespace Shared {
namespace {

template <class C>
concept HasEntryText = requires(C value) { value.entryText; };
template <class C>
concept HasReEntryText = requires(C value) { value.reEntryText; };

} // namespace

bool AuthenticationVState::matchesResetAccountConfirmationText(const Foundation::String& text)
{
    return text.trimmingCharacters(Foundation::CharacterSet::whitespacesAndNewlines()) == Foundation::String(resetAccountConfirmationText);
}

std::optional<Foundation::String> AuthenticationVState::entryText() const
{
    return std::visit(
        [](const auto& value) -> std::optional<Foundation::String> {
            if constexpr (HasEntryText<std::decay_t<decltype(value)>>)
                return value.entryText;
            else
                return std::nullopt;
        },
        m_case);
}

std::optional<Foundation::String> AuthenticationVState::reEntryText() const
{
    return std::visit(
        [](const auto& value) -> std::optional<Foundation::String> {
            if constexpr (HasReEntryText<std::decay_t<decltype(value)>>)
                return value.reEntryText;
            else
                return std::nullopt;
        },
        m_case);
}

AuthenticationVState AuthenticationVState::withEntryText(const Foundation::String& text) const
{
    auto copy = *this;
    std::visit(
        [&](auto& value) {
            if constexpr (HasEntryText<std::decay_t<decltype(value)>>)
                value.entryText = text;
        },
        copy.m_case);
    return copy;
}

AuthenticationVState AuthenticationVState::withReEntryText(const Foundation::String& text) const
{
    auto copy = *this;
    std::visit(
        [&](auto& value) {
            if constexpr (HasReEntryText<std::decay_t<decltype(value)>>)
                value.reEntryText = text;
        },
        copy.m_case);
    return copy;
}

PasswordEntryReEntryState AuthenticationVState::entryReEntryState() const
{
    return PasswordEntryReEntryState(entryText(), reEntryText());
}

std::optional<EntryAttemptState> AuthenticationVState::entryAttemptState() const
{
    return std::visit(
        [](const auto& value) -> std::optional<EntryAttemptState> {
            if constexpr (requires { value.entryAttemptState; })
                return value.entryAttemptState;
            else
                return std::nullopt;
        },
        m_case);
}

std::optional<Foundation::URL> AuthenticationVState::locationURL() const
{
    if (const auto* step = as<AutomaticBackupsOnboarding>())
        return step->backupFolder;
    if (const auto* step = as<ChoosingBackupFile>())
        return step->fileURL;
    return std::nullopt;
}

} // namespace Shared
