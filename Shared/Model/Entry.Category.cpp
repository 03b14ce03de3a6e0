#include "Shared/Model/Entry.Category.hpp"

namespace Shared {

std::vector<EntryCategory> allEntryCategories()
{
    std::vector<EntryCategory> categories;
    for (const auto& [category, raw] : Foundation::RawRepresentation<EntryCategory>::cases)
        categories.push_back(category);
    return categories;
}

std::vector<EntryCategory> standardEntryCategories()
{
    return {EntryCategory::login, EntryCategory::secureNote, EntryCategory::creditCard};
}

bool isLoginCategory(EntryCategory category)
{
    return category == EntryCategory::login || category == EntryCategory::password;
}

Foundation::String titleText(EntryCategory category)
{
    switch (category) {
    case EntryCategory::login:
        return "Login";
    case EntryCategory::password:
        return "Password";
    case EntryCategory::wirelessNetwork:
        return "Wireless Network";
    case EntryCategory::server:
        return "Server";
    case EntryCategory::secureNote:
        return "Secure Note";
    case EntryCategory::creditCard:
        return "Credit Card";
    case EntryCategory::bankAccount:
        return "Bank Account";
    case EntryCategory::rewardsProgram:
        return "Rewards Program";
    case EntryCategory::softwareLicense:
        return "Software License";
    case EntryCategory::identity:
        return "Identity";
    case EntryCategory::passport:
        return "Passport";
    case EntryCategory::driversLicense:
        return "Driver's License";
    case EntryCategory::other:
        return "Other";
    }
    return {};
}

EntryCategoryGroup::Case group(EntryCategory category)
{
    for (auto candidate : EntryCategoryGroup::allCases()) {
        for (auto member : EntryCategoryGroup::categories(candidate)) {
            if (member == category)
                return candidate;
        }
    }
    return EntryCategoryGroup::Case::other;
}

std::vector<EntryCategoryGroup::Case> EntryCategoryGroup::allCases()
{
    return {Case::passwords, Case::secureNotes, Case::payments, Case::rewards, Case::software, Case::identification, Case::other};
}

std::vector<EntryCategory> EntryCategoryGroup::categories(Case group)
{
    switch (group) {
    case Case::passwords:
        return {EntryCategory::login, EntryCategory::password, EntryCategory::wirelessNetwork, EntryCategory::server};
    case Case::secureNotes:
        return {EntryCategory::secureNote};
    case Case::payments:
        return {EntryCategory::creditCard, EntryCategory::bankAccount};
    case Case::rewards:
        return {EntryCategory::rewardsProgram};
    case Case::software:
        return {EntryCategory::softwareLicense};
    case Case::identification:
        return {EntryCategory::identity, EntryCategory::passport, EntryCategory::driversLicense};
    case Case::other:
        return {EntryCategory::other};
    }
    return {};
}

Foundation::String EntryCategoryGroup::titleText(Case group)
{
    switch (group) {
    case Case::passwords:
        return "Passwords";
    case Case::secureNotes:
        return "Secure Notes";
    case Case::payments:
        return "Payments";
    case Case::rewards:
        return "Rewards";
    case Case::software:
        return "Software";
    case Case::identification:
        return "Identification";
    case Case::other:
        return "Other";
    }
    return {};
}

} // namespace Shared
