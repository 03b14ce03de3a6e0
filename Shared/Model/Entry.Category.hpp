#pragma once

#include "Platform/Foundation/RawRepresentable.hpp"
#include "Platform/Foundation/String.hpp"

#include <vector>

namespace Shared {

// What kind of item an entry is (Entry::Category). The login kinds come first: they show the username
// and password fields even while empty.
enum class EntryCategory {
    login,
    password,
    wirelessNetwork,
    server,
    secureNote,
    creditCard,
    bankAccount,
    rewardsProgram,
    softwareLicense,
    identity,
    passport,
    driversLicense,
    other,
};

// The categories as menus group them (Entry::CategoryGroup).
struct EntryCategoryGroup {
    enum class Case { passwords, secureNotes, payments, rewards, software, identification, other };

    static std::vector<Case> allCases();
    static std::vector<EntryCategory> categories(Case group);
    static Foundation::String titleText(Case group);
};

Foundation::String titleText(EntryCategory category);
EntryCategoryGroup::Case group(EntryCategory category);
// Every category, in declared order.
std::vector<EntryCategory> allEntryCategories();
// The categories offered first when a new item is made.
std::vector<EntryCategory> standardEntryCategories();
bool isLoginCategory(EntryCategory category);

} // namespace Shared

template <>
struct Foundation::RawRepresentation<Shared::EntryCategory> {
    using RawValue = Foundation::String;
    static constexpr std::pair<Shared::EntryCategory, const char*> cases[] = {
        {Shared::EntryCategory::login, "login"},
        {Shared::EntryCategory::password, "password"},
        {Shared::EntryCategory::wirelessNetwork, "wirelessNetwork"},
        {Shared::EntryCategory::server, "server"},
        {Shared::EntryCategory::secureNote, "secureNote"},
        {Shared::EntryCategory::creditCard, "creditCard"},
        {Shared::EntryCategory::bankAccount, "bankAccount"},
        {Shared::EntryCategory::rewardsProgram, "rewardsProgram"},
        {Shared::EntryCategory::softwareLicense, "softwareLicense"},
        {Shared::EntryCategory::identity, "identity"},
        {Shared::EntryCategory::passport, "passport"},
        {Shared::EntryCategory::driversLicense, "driversLicense"},
        {Shared::EntryCategory::other, "other"},
    };
};
